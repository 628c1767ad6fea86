#pragma once

#include "display/PlatformServices.h"

#include <QWidget>

#include <memory>

class Form1;
class QGroupBox;
class QPushButton;
class mdlM_Tape;
struct TapeOptions;

// The control panel (集中操作盤): the operator's window. Closing it asks
// before the program ends.
class frmCtl : public QWidget
{
    Q_OBJECT

public:
    explicit frmCtl(Form1 &display, const PlatformServices &services, QWidget *parent = nullptr);
    ~frmCtl() override;

    // The design's client size, 5295 x 2595 twips.
    static constexpr QSize DesignSize{5295 / 15, 2595 / 15};

    // The route's announcements, loaded by route setting.
    mdlM_Tape &tape() const { return *m_tape; }

    // The announcement buttons 送り, 戻し, ■ and 調整.
    void cmdTapeNext_Click();
    void cmdTapeBack_Click();
    void cmdTapeStop_Click();
    void cmdTapeSet_Click();

signals:
    // The operator confirmed the end of the program.
    void quitRequested();
    // An announcement step whose record says the fares step with it: a data
    // step back (0) or forward (1), as the data buttons do.
    void dataStepRequested(int Index);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    bool Form_QueryUnload();
    void createTapeGroup();
    void showTapeGroup();
    // The announcement options of the options dialog.
    TapeOptions tapeOptions() const;

    Form1 &m_display;
    PlatformServices m_services;
    bool m_loaded = false;
    std::unique_ptr<mdlM_Tape> m_tape;
    QGroupBox *m_grpM_Tape = nullptr;
    QPushButton *m_cmdTapeBack = nullptr;
    QPushButton *m_cmdTapeNext = nullptr;
    QPushButton *m_cmdTapeStop = nullptr;
    QPushButton *m_cmdTapeSet = nullptr;
};
