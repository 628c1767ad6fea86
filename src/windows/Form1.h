#pragma once

#include "display/DisplayStyle.h"
#include "display/ErrorReport.h"
#include "display/FormInfo.h"
#include "display/PlatformServices.h"
#include "fare/BusOperation.h"
#include "run/RunSlot.h"
#include "route/RouteStopNames.h"
#include "run/SteadyClock.h"
#include "settings/SideSettings.h"

#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>

class ChimeiCtl_B;
class LcdFareDisplay;
class M_Degit;
class OptionsStore;
class QAction;
class QLabel;
class SideSettingsStore;
class StopRequestLamp;
class frmCtl;
class frmOption;
class mdlIniIo;
class mdlR57_000;

// The display window: the simulated fare display itself. A frameless
// 921 x 307 window whose background is the panel picture, with 98
// ticket-number labels and fare cells laid over it and the stop-name strip on
// its left. Its load runs the start-up of the whole system.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(const PlatformServices &services, QWidget *parent = nullptr);
    ~Form1() override;

    // The start-up sequence; the window is shown when it returns.
    void Form_Load();

    M_Degit *Degit(int index) const { return m_degit.at(index); }
    QLabel *lblSeiriNum(int index) const { return m_lblSeiriNum.at(index); }
    // The ticket number shown over fare cell `position` (1 to 98).
    QString ticketLabel(int position) const;
    M_Degit *TimeDegit(int index) const { return m_timeDegit.at(index); }
    ChimeiCtl_B *ChimeiCtl() const { return m_chimeiCtl; }
    StopRequestLamp *stopRequestLamp() const { return m_stopRequestLamp; }
    QTimer &Timer1() { return m_timer1; }
    // The running bus that this window and the control panel show.
    BusOperation &operation() const { return *m_operation; }
    // The options of the run, which the options dialog edits.
    OptionsStore &options() const { return *m_options; }
    // The run that drives the bus by itself (a timetable), if any.
    RunSlot &runs() const { return *m_runs; }
    frmCtl *controlPanel() const { return m_frmCtl.get(); }
    // The side settings of the run: the store handed in, or the display's own.
    SideSettingsStore &sideSettings() const { return *m_services.side; }
    // The options dialog: made hidden by the panel start-up, kept for the whole run.
    frmOption *optionsDialog() const { return m_frmOption.get(); }
    frmOption &createOptionsDialog();
    mdlR57_000 &panelModule() const { return *m_panelModule; }

    // The background picture and the three panel pictures for the backlight
    // states OFF, ON1 and ON2.
    void setPicture(const QPixmap &picture);
    const QPixmap &picture() const { return m_picture; }
    QPixmap imgRes(int index) const { return m_imgRes.at(index); }
    void setImgRes(int index, const QPixmap &picture) { m_imgRes.at(index) = picture; }
    // True while the picture shown is a built-in one, which is drawn for the
    // board's size rather than scaled from its 100 % bitmap.
    bool showsBuiltInPicture() const;

    // Names each fare cell after the ticket-number label above it, so that a
    // screen reader reads a cell as "整理券1 210".
    void nameCells();

    // What the board shows at a stop: the fares and information numbers,
    // and last the stop name. A stop outside the route shows nothing.
    void showStop(const StopView &view);

    // A ticket-number label's font at the design size; it is shown scaled.
    void setLabelFont(int index, const QFont &designFont);

    // The window's size in per cent of its design size (one of
    // DisplayScale::Steps); everything on it is painted for that size.
    int displayScale() const { return m_scalePercent; }
    void setDisplayScale(int percent);
    // The steps offered (the menu, Ctrl+Plus, the saved scale at start-up):
    // those whose window fits whole on the available area of the screen the
    // display is on, so that no column is cut off at its right.
    QList<int> offeredScales() const;
    // Moves the control panel out from under this window when this window
    // covers it, to the nearest place beside it on the panel's screen; with
    // no room there, raises the panel above it. Asked when the operator makes
    // either window larger; places restored from the settings file stay as
    // the user left them. Moved rather than kept on top for good: a panel on
    // top of everything would hide the user's other programs as well, all
    // the run long.
    void uncoverControlPanel();
    // Full screen on monitor `monitor` (from 1; the first when there is no
    // such monitor): the board alone, centred at its aspect ratio on black.
    // Leaving returns the window to its place and size.
    void showFullScreenOn(int monitor);
    void leaveFullScreen();
    bool isFullScreenDisplay() const { return m_fullScreen; }
    int fullScreenMonitor() const { return m_monitor; }
    // Where the board is painted in the window, and at which scale.
    QRect boardRect() const { return m_board; }
    // Lays the board out over `size`, at its aspect ratio, for pictures
    // painted off screen (the frames of a video) by a window never shown.
    void layOutOffScreen(const QSize &size);
    // Start-up goes full screen on `monitor` (0: the remembered one), for
    // this run, whatever the side settings say.
    void startFullScreen(int monitor) { m_startFullScreen = monitor; }

    // The fare cells' digit style (M_Degit::DegitStyle), kept in the side
    // settings: start-up's lamp test already shows it; a new one goes onto
    // all 98 cells and into the file at once.
    int segmentStyle() const { return m_segmentStyle; }
    void setSegmentStyle(int style);
    // How the fare cells show a cell without a fare (-1), kept in the side
    // settings like the digit style; the remote's board mirror shows the
    // same, as it reads what the cells light.
    DegitFormat::MissingFare missingFare() const { return m_missingFare; }
    void setMissingFare(DegitFormat::MissingFare missingFare);

    // The display's look, kept in the side settings: the LED board, or the
    // LCD screen (LcdFareDisplay over the whole window, the board's parts
    // hidden under it). Its window has its own design size at the same
    // scale steps; full screen shows either.
    DisplayStyle displayStyle() const { return m_style; }
    // Set again while the LCD shows, it hides what of the board has been
    // shown meanwhile (the options' look shows the labels).
    void setDisplayStyle(DisplayStyle style);
    LcdFareDisplay *lcdDisplay() const { return m_lcd; }

    // The names of the route's stop `stop` (1-based) in every language its
    // route source beside the fare data keeps ("ja", "kana", "en", ...);
    // empty when the route has none. Read again whenever a route is set.
    QMap<QString, QString> stopNames(int stop) const { return m_routeNames.names(stop); }

    // The text colour of the ticket-number labels (0x00BBGGRR).
    void setLabelColor(quint32 colorRef);

    FormInfo GetFormInfo() const;
    void SetFormInfo(const FormInfo &info);
    // Window regions belong to the window system here; nothing to release.
    void DeleteRgn() {}

    void Timer1_Timer();
    // Sets the clock cells from a time of day.
    void showClock(const QTime &time);
    void Degit_DblClick(int index);

    // Whether a press starts moving the window: only the left button on the
    // window's own surface, never on a label or a cell.
    bool startsDrag(Qt::MouseButton button, const QPoint &position) const;

    // The settings file is read here at the end of start-up, and written by
    // the control panel's end sequence. Failures are reported in a message
    // box; a failed save only in the log when nobody is there to answer.
    void LoadIni();
    void SaveIni(ErrorReport::Audience audience = ErrorReport::Audience::Operator);

    // The places that start-up gives the windows: this window at the
    // screen's top-left, the control panel at the bottom-right of the
    // screen's available area.
    void placeDisplayAsAtFirstRun();
    void placeControlPanelAsAtFirstRun();
    // Whether enough of a window lies on a screen to be dragged back.
    bool isReachable(const QWidget &window) const;
    // Brings this window and the control panel to the front (a second start
    // of the program asks for this).
    void bringToFront();

signals:
    // The display shows the other look now (the options, or the side file
    // at start-up).
    void displayStyleChanged(DisplayStyle style);

protected:
    void paintEvent(QPaintEvent *event) override;
    // Closing the display (Alt+F4 under a window manager) ends the program
    // the way the control panel does, with its confirmation.
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void createControls();
    void createSizeActions();
    void applyRoundedShape(qreal scale);
    // Places every child for the current size: the board at the chosen
    // scale, or fitted into the whole screen.
    void layOut();
    void toggleFullScreen();
    void enterFullScreen(int monitor);
    void moveToScreen(QScreen *screen);
    // The display's size and the cells' digit style live in the side
    // settings, read once at start-up.
    void applySideSettings(const SideSettings &side);
    void saveSideSettings();
    // Follows the bus: the lamp test, the cleared display, the stop shown.
    void showOperation(BusOperation::Changes what);
    // The route source's names of the route just set, when it has one.
    void readStopNames();
    // Shows the parts of the style, without saving it.
    void applyStyle(DisplayStyle style);
    // Hides the board's parts that show, under the LCD.
    void hideBoard();
    // The window at `percent` in the current style.
    QSize windowSize(int percent) const;

    PlatformServices m_services;
    // When none is handed in; it outlives the panel, which uses it too.
    std::unique_ptr<SideSettingsStore> m_ownSide;
    std::array<M_Degit *, 99> m_degit{};
    std::array<QLabel *, 99> m_lblSeiriNum{};
    std::array<M_Degit *, 2> m_timeDegit{};
    ChimeiCtl_B *m_chimeiCtl = nullptr;
    StopRequestLamp *m_stopRequestLamp = nullptr;
    QTimer m_timer1;
    QPixmap m_picture;
    std::array<QPixmap, 3> m_imgRes;
    std::unique_ptr<mdlR57_000> m_panelModule;
    // Before the panel, which shows it and outlives it not.
    std::unique_ptr<OptionsStore> m_options;
    std::unique_ptr<BusOperation> m_operation;
    SteadyClock m_steadyClock;
    std::unique_ptr<RunSlot> m_runs;
    std::unique_ptr<frmCtl> m_frmCtl;
    std::unique_ptr<frmOption> m_frmOption;
    std::unique_ptr<mdlIniIo> m_iniIo;

    int m_scalePercent = 100;
    bool m_fullScreen = false;
    bool m_offScreen = false;
    int m_monitor = 1;
    int m_segmentStyle = SideSettings().displaySegmentStyle;
    DegitFormat::MissingFare m_missingFare = SideSettings().displayMissingFare;
    int m_startFullScreen = -1;
    // The window's own (client) place while it shows full screen.
    QPoint m_windowPos;
    QPointer<QScreen> m_windowScreen;
    QRect m_board;
    qreal m_scale = 1.0;
    // The panel picture at the board's size, made when first painted.
    QPixmap m_scaledPicture;
    std::array<QFont, 99> m_labelDesignFonts;
    QAction *m_fullScreenAction = nullptr;
    DisplayStyle m_style = DisplayStyle::Led;
    LcdFareDisplay *m_lcd = nullptr;
    RouteStopNames m_routeNames;
    // The board's parts that the LCD hid, shown again when it goes.
    QList<QPointer<QWidget>> m_hiddenForLcd;
};
