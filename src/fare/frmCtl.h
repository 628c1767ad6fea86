#pragma once

#include "display/PlatformServices.h"

#include <QWidget>

class Form1;
class QPushButton;

// The control panel (集中操作盤): the operator's window. Closing it asks
// before the program ends.
class frmCtl : public QWidget
{
    Q_OBJECT

public:
    explicit frmCtl(Form1 &display, const PlatformServices &services, QWidget *parent = nullptr);

    // The design's client size, 5295 x 2595 twips.
    static constexpr QSize DesignSize{5295 / 15, 2595 / 15};

    // The backlight state: 0 OFF, 1 ON1, 2 ON2. The panel stays on OFF until
    // it has its backlight buttons.
    int backlightState() const { return 0; }
    // Puts the panel picture and the ticket-number colour of a backlight
    // state on the display window, as the options say.
    void Option4_Click(int Index);

signals:
    // The operator confirmed the end of the program.
    void quitRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    bool Form_QueryUnload();
    // "設定...": the options dialog, modal, with both other windows disabled.
    void Command4_Click();
    // Shows the empty text and then the current stop's name again, so that
    // changed looks of the stop-name display take effect.
    void showCurrentStopName();
    void showPictureError(int errorNumber);

    Form1 &m_display;
    PlatformServices m_services;
    bool m_loaded = false;
    QPushButton *m_command4 = nullptr;
};
