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

    // The backlight state: 0 OFF, 1 ON1, 2 ON2. The panel stays on OFF until
    // it has its backlight buttons.
    int backlightState() const { return 0; }
    // Puts the panel picture and the ticket-number colour of a backlight
    // state on the display window, as the options say.
    void Option4_Click(int Index);
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
    // "設定...": the options dialog, modal, with both other windows disabled.
    void Command4_Click();
    // Shows the empty text and then the current stop's name again, so that
    // changed looks of the stop-name display take effect.
    void showCurrentStopName();
    void showPictureError(int errorNumber);
    void createTapeGroup();
    void showTapeGroup();
    // The announcement options of the options dialog.
    TapeOptions tapeOptions() const;

    Form1 &m_display;
    PlatformServices m_services;
    bool m_loaded = false;
    QPushButton *m_command4 = nullptr;
    std::unique_ptr<mdlM_Tape> m_tape;
    QGroupBox *m_grpM_Tape = nullptr;
    QPushButton *m_cmdTapeBack = nullptr;
    QPushButton *m_cmdTapeNext = nullptr;
    QPushButton *m_cmdTapeStop = nullptr;
    QPushButton *m_cmdTapeSet = nullptr;
};
