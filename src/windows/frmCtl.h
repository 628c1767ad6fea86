#pragma once

#include "display/ErrorReport.h"
#include "display/PlatformServices.h"
#include "fare/BusOperation.h"
#include "settings/CtrlDataInfo.h"
#include "fare/KeypadEntry.h"

#include <QFont>
#include <QHash>
#include <QPair>
#include <QSet>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class DigitListFrame;
class Form1;
class KeypadFrame;
class PanelButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QRadioButton;
class QScrollBar;
class SeirikenPreview;
class frmOption;
struct PlgInfo;
struct TicketRequest;

// The control panel (集中操作盤): the operator's window. Route entry by digit
// lists or keypad, data stepping, announcements, late-night fare, clear
// display, the stop-name scrolling sliders, backlight, options, About and the
// ticket preview. The running bus is the display window's BusOperation: the
// keys call its commands and the panel shows its state.
class frmCtl : public QWidget
{
    Q_OBJECT

public:
    explicit frmCtl(Form1 &display, const PlatformServices &services, QWidget *parent = nullptr);
    ~frmCtl() override;

    // The design's client size, 5295 x 2595 twips, without the status row.
    static constexpr QSize DesignSize{5295 / 15, 2595 / 15};
    // The client width with the ticket preview open (outer width 9000 twips).
    static constexpr int PreviewOpenWidth = (9000 - 90) / 15;
    // The status row below the right-hand controls: two lines, 450 twips.
    // The input frames on the left grow by as much, for readable digit lists.
    static constexpr int StatusRowHeight = 450 / 15;

    // The backlight state: 0 OFF, 1 ON1, 2 ON2.
    int backlightState() const;
    // Puts the panel picture and the ticket-number colour of a backlight
    // state on the display window, as the options say.
    void Option4_Click(int Index);
    // While on, a panel picture error already shown (the same file, the same
    // error) is not shown again. The settings load puts the backlight on
    // twice, with the options and with their look: one broken picture is
    // one message.
    void setPictureErrorsShownOnce(bool once);

    // The record's left and top are those of the client area, the part of
    // the window that is the program's own: its frame is the window
    // manager's, not known before the window manager has framed the window
    // (when start-up restores the place), and not the same from one window
    // manager to the next.
    CtrlDataInfo GetCtrlDataInfo() const;
    void SetCtrlDataInfo(const CtrlDataInfo &info);
    // Puts the panel, frame and all, in the bottom-right corner of the
    // screen's available area (not under a task bar). Before the window
    // manager has framed the panel its frame is not known, so the corner is
    // taken again when the panel first shows on the screen.
    void placeInCorner();

    // The panel's size in per cent, one of DisplayScale::PanelSteps;
    // everything on it is laid out and lettered for that size. Its place on
    // the screen stays where it is.
    int panelScale() const { return m_scalePercent; }
    void setPanelScale(int percent);
    // 英語放送, kept in the side settings.
    bool englishAnnouncements() const;
    void setEnglishAnnouncements(bool on);

    // "運行状況": the route, the stop, its name and the next announcement.
    QLabel *statusRow() const { return m_statusRow; }
    // Something the operator should know from the start, such as a part of
    // the program that could not start: shown in the status row in place of
    // the announcement until a route is set, and in its tooltip for the rest
    // of the run. A note already shown is not added again.
    void addStatusNotice(const QString &text);

    SeirikenPreview *picSeirikenPrev() const { return m_picSeirikenPrev; }
    // The company list of the ticket preview.
    QComboBox *Combo1() const { return m_combo1; }
    // A plug-in taken in the options: the preview box takes its ticket's
    // size, and its companies are added to the company list.
    void takePlugin(const QString &file, const PlgInfo &info);
    // Empties the company list before another plug-in's companies come.
    void forgetPluginCompanies();
    // ">>": opens and hides the ticket preview.
    QCheckBox *Check4() const { return m_check4; }
    // "深夜料金": the late-night fare.
    QCheckBox *Check2() const { return m_check2; }
    QCheckBox *Check1() const { return m_check1; }
    QListWidget *List2(int i) const;
    QListWidget *List3(int i) const;
    PanelButton *CommandButton1(int i) const;
    QLabel *Label2(int i) const;
    PanelButton *Command1(int i) const;
    PanelButton *Command2(int i) const { return m_command2.at(i); }
    // The stop request key とまります, held in while the lamp is lit.
    PanelButton *stopRequestKey() const { return m_stopRequestKey; }
    // 0 the list input frame, 1 the keypad frame.
    QGroupBox *Frame1(int i) const;
    QScrollBar *HScroll1(int i) const { return m_hScroll1.at(i); }
    QLabel *Label1(int i) const { return m_label1.at(i); }
    QRadioButton *Option4(int i) const { return m_option4.at(i); }
    // The input frame last sent behind the other (0 lists, 1 keypad).
    qint16 inputFrame() const { return m_inputFrame; }

    // Route setting: 0 from the digit lists, 1 from the keypad displays. A
    // route the bus refuses is said in a box.
    void Command1_Click(int Index);
    // Data back (0) and data forward (1).
    void Command2_Click(int Index);
    void CommandButton1_Click(int Index);
    void Check1_Click();
    void Frame1_DblClick(int Index);
    // The announcement buttons 送り, 戻し, ■ and 調整.
    void cmdTapeNext_Click();
    void cmdTapeBack_Click();
    void cmdTapeStop_Click();
    void cmdTapeSet_Click();
    // "ﾊﾞｰｼﾞｮﾝ": the About text through the companion library.
    void Command8_Click();
    // The About text, each line ended by "\r\n".
    static QString aboutText();

    // Asks whether the program should end; on Yes runs the end sequence and
    // emits quitRequested. The display window's close comes here too.
    bool requestEnd();
    // The end that nobody can answer (the session ends, the program is told
    // to stop): the end sequence without the question, and a failed save
    // goes to the log, never into a message box. Asked while the end
    // sequence already runs (a box of the operator's end is open), it only
    // emits quitRequested: the settings have been saved, or tried.
    void endUnattended();

signals:
    // The operator confirmed the end of the program.
    void quitRequested();
    // The panel's right-click menu is being built: add to `menu` what
    // belongs there.
    void contextMenuOpening(QMenu *menu);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createInputFrames();
    void createDataButtons();
    void createTapeGroup();
    void createSliderFrame();
    void createBacklightFrame();
    void createPreviewArea();
    void createShortcuts();
    void createStatusRow();

    // Notes every control's design place, font and style sheet, so that
    // each scale starts from the design rather than from the last scale.
    void recordDesign();
    void layOut();
    // The slider rows laid out from the width of their captions and values
    // in the font of the scale, so that no slider covers a caption.
    void layOutSliders();
    QSize clientSize() const;
    // The menu's choice: the scale, kept in the side settings.
    void choosePanelScale(int percent);
    // Follows the bus: the route entered, the keys that can be used, the
    // switches, the announcement group, the ticket preview and the status row.
    void showOperation(BusOperation::Changes what);
    void showKeys();
    // The radio button of a backlight state: a click on the state already
    // set applies its picture again (a file changed meanwhile).
    void backlightClicked(int Index);
    void lateNightToggled(bool on);
    // Shows the route, the stop and the next announcement in the status row.
    void updateStatus();
    // The right-click menu's runs: by the timetable, pause and resume, stop.
    void addRunMenuItems(QMenu *menu);
    // "時刻表で運行…": a trip of the route on the board and the speed.
    void chooseTimetableRun();
    void Form_Load();
    // Blanks the strip, closes the sounds, releases speech, saves the
    // settings and emits quitRequested. Runs once.
    void runEndSequence(ErrorReport::Audience audience);
    // "設定...": the options dialog, modal, with both other windows disabled.
    void Command4_Click();
    void Check4_Click();
    void keepOnScreen();
    void HScroll1_Change(int Index);
    // The stop request key held in while the lamp is lit.
    void showStopRequest();
    void showTapeGroup();
    // Shows the empty text and then the current stop's name again, so that
    // changed looks of the stop-name display take effect.
    void showCurrentStopName();
    void showPictureError(const QString &file, int errorNumber);
    // The plug-in that draws the ticket of a stop: empty when the options do
    // not use the preview or the stop issues no ticket.
    QString seirikenPlugin(const TicketRequest &ticket) const;
    // Clears the preview box and draws the ticket of the shown stop into it.
    void showSeiriken(TicketRequest ticket);
    // Draws the ticket of the current stop unless the box already shows it.
    void showMissingSeiriken();
    // Writes on the preview box why it shows no ticket: no plug-in chosen in
    // the options, no route set, no ticket at this stop, or a plug-in that
    // drew none.
    void showPreviewHint();
    void playSound(const QString &file, const char *channel, bool wait);

    Form1 &m_display;
    PlatformServices m_services;
    BusOperation &m_bus;
    KeypadEntry m_keypad;
    bool m_loaded = false;
    bool m_ending = false;
    // The corner is to be taken again once the frame is known.
    bool m_cornerPending = false;
    // The input frame last sent behind the other.
    qint16 m_inputFrame = 0;
    int m_scalePercent = 100;
    qreal m_scale = 1.0;
    struct DesignLook
    {
        QRect place;
        // Only for controls with a font of their own; the others inherit.
        std::optional<QFont> font;
        QString styleSheet;
    };
    QHash<QWidget *, DesignLook> m_design;
    QFont m_designFont;
    // The picture errors shown while they are shown once.
    std::optional<QSet<QPair<QString, int>>> m_shownPictureErrors;

    DigitListFrame *m_listFrame = nullptr;
    KeypadFrame *m_keypadFrame = nullptr;
    std::array<PanelButton *, 2> m_command2{};
    PanelButton *m_stopRequestKey = nullptr;
    QCheckBox *m_check1 = nullptr;
    QGroupBox *m_grpM_Tape = nullptr;
    PanelButton *m_cmdTapeBack = nullptr;
    PanelButton *m_cmdTapeNext = nullptr;
    PanelButton *m_cmdTapeStop = nullptr;
    PanelButton *m_cmdTapeSet = nullptr;
    QGroupBox *m_frame6 = nullptr;
    QCheckBox *m_check2 = nullptr;
    std::array<QScrollBar *, 2> m_hScroll1{};
    std::array<QLabel *, 2> m_label1{};
    QGroupBox *m_frame2 = nullptr;
    std::array<QRadioButton *, 3> m_option4{};
    PanelButton *m_command4 = nullptr;
    PanelButton *m_command8 = nullptr;
    QCheckBox *m_check4 = nullptr;
    QLabel *m_label4 = nullptr;
    SeirikenPreview *m_picSeirikenPrev = nullptr;
    QComboBox *m_combo1 = nullptr;
    std::array<QLabel *, 2> m_label3{};
    QLabel *m_statusRow = nullptr;
    QStringList m_statusNotices;
};
