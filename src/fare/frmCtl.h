#pragma once

#include "display/PlatformServices.h"

#include <QWidget>

class Form1;

// The control panel (集中操作盤): the operator's window. Closing it asks
// before the program ends.
class frmCtl : public QWidget
{
    Q_OBJECT

public:
    explicit frmCtl(Form1 &display, const PlatformServices &services, QWidget *parent = nullptr);

    // The design's client size, 5295 x 2595 twips.
    static constexpr QSize DesignSize{5295 / 15, 2595 / 15};

signals:
    // The operator confirmed the end of the program.
    void quitRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    bool Form_QueryUnload();

    Form1 &m_display;
    PlatformServices m_services;
    bool m_loaded = false;
};
