#include "Form1.h"

#include "display/BoardLayout.h"
#include "display/DisplayScale.h"
#include "display/ErrorReport.h"
#include "display/JapaneseFonts.h"
#include "display/PanelPicture.h"
#include "display/StopRequestLamp.h"
#include "display/WindowPlacement.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/ColorRef.h"
#include "controls/M_Degit.h"
#include "fare/RouteSetting.h"
#include "lcd/LcdFareDisplay.h"
#include "windows/frmCtl.h"
#include "mdlR57_000.h"
#include "windows/IniApplier.h"
#include "windows/frmOption.h"
#include "settings/SettingsLocation.h"
#include "settings/OptionsStore.h"
#include "settings/SideSettingsStore.h"
#include "windows/ScaleMenu.h"
#include "windows/SideSettingsSave.h"
#include "settings/mdlIniIo.h"

#include <QAction>
#include <QBitmap>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTime>
#include <QWindow>

#include <algorithm>

Form1::Form1(const PlatformServices &services, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , m_services(services)
    , m_panelModule(std::make_unique<mdlR57_000>(*this))
{
    if (!m_services.side) {
        m_ownSide = std::make_unique<SideSettingsStore>(m_services.settings ? m_services.settings->sidePath() : QString());
        m_services.side = m_ownSide.get();
    }
    setObjectName("Form1");
    setWindowTitle(QStringLiteral("Form2"));
    setFixedSize(BoardLayout::WindowSize);
    m_board = rect();
    setAttribute(Qt::WA_OpaquePaintEvent);
    createControls();
    createSizeActions();
    // The clock ticks from the start, even while this layout hides its cells.
    m_timer1.setInterval(1000);
    connect(&m_timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    m_timer1.start();
    BusOperation::Services bus;
    bus.sound = m_services.multimedia;
    bus.speech = m_services.speech;
    bus.chimes = m_services.chimes;
    m_options = std::make_unique<OptionsStore>();
    bus.options = [this] { return m_options->info(); };
    m_operation = std::make_unique<BusOperation>(std::move(bus));
    // First: the board shows a change before the panel's controls follow it.
    connect(m_operation.get(), &BusOperation::changed, this, &Form1::showOperation);
    m_runs = std::make_unique<RunSlot>(*m_operation, m_steadyClock);
    LcdFareDisplay::Sources lcd;
    lcd.labels = [this](int position) { return ticketLabel(position); };
    // The cells share one format (a cell's dialog sets it on all of them).
    lcd.format = [this] {
        const M_Degit *cell = m_degit.at(1);
        DegitFormat format;
        format.keta = cell->keta();
        format.zeroMode = cell->zeroMode();
        format.fillZero = cell->fillZero();
        format.shift = cell->shift();
        format.missingFare = m_missingFare;
        return format;
    };
    m_lcd = new LcdFareDisplay(*m_operation, std::move(lcd), this);
    m_lcd->setStopNames([this](int stop) { return m_routeNames.names(stop); });
    m_lcd->hide();
    m_frmCtl = std::make_unique<frmCtl>(*this, m_services);
    if (m_services.settings) {
        m_iniIo = std::make_unique<mdlIniIo>(*m_services.settings);
    }
}

Form1::~Form1() = default;

void Form1::createControls()
{
    const QFont labelFont = JapaneseFonts::panelFont(QStringLiteral("ＭＳ Ｐゴシック"), 11.25, true);
    for (int n = 0; n <= BoardLayout::Positions; ++n) {
        auto *cell = new M_Degit(this);
        cell->setObjectName(QStringLiteral("Degit(%1)").arg(n));
        cell->setCompanion(m_services.companion);
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("lblSeiriNum(%1)").arg(n));
        label->setAlignment(Qt::AlignCenter);
        label->setFont(labelFont);
        m_labelDesignFonts.at(n) = labelFont;
        // Transparent: the panel picture shows through.
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setAutoFillBackground(false);
        if (n == 0) {
            cell->setGeometry(BoardLayout::hiddenCellRect());
            cell->hide();
            label->hide();
        } else {
            cell->setGeometry(BoardLayout::cellRect(n));
            label->setGeometry(BoardLayout::labelRect(n));
            connect(cell, &M_Degit::DblClick, this, [this, n] { Degit_DblClick(n); });
        }
        m_degit.at(n) = cell;
        m_lblSeiriNum.at(n) = label;
    }
    nameCells();

    const std::array<QRect, 2> clockRects = {BoardLayout::clockHoursRect(), BoardLayout::clockMinutesRect()};
    for (int i = 0; i < 2; ++i) {
        auto *clock = new M_Degit(this);
        clock->setObjectName(QStringLiteral("TimeDegit(%1)").arg(i));
        clock->setKeta(2);
        clock->setGeometry(clockRects.at(i));
        clock->hide(); // this panel layout keeps the clock hidden
        m_timeDegit.at(i) = clock;
    }

    // The stop-name strip, placed new: its own dark grey with amber dots.
    m_chimeiCtl = new ChimeiCtl_B(this);
    m_chimeiCtl->setObjectName(QStringLiteral("ChimeiCtl"));
    m_chimeiCtl->setGeometry(BoardLayout::stopNameRect());

    m_stopRequestLamp = new StopRequestLamp(this);
    m_stopRequestLamp->setGeometry(BoardLayout::stopRequestRect());
}

void Form1::Form_Load()
{
    // What is wrong with the file the panel's status row says from its start.
    const SideSettings side = sideSettings().settings();
    // Before the lamp test, which shows it.
    m_segmentStyle = side.displaySegmentStyle;
    m_missingFare = side.displayMissingFare;
    // Before the options dialog, which shows it from its start.
    applyStyle(side.displayStyle);
    m_panelModule->InitDegit();
    m_panelModule->InitPanel(); // also creates the options window, hidden

    m_frmCtl->show();
    m_frmCtl->raise();

    placeDisplayAsAtFirstRun();
    placeControlPanelAsAtFirstRun();
    applyRoundedShape(1.0);
    update();
    LoadIni();
    show();
    applySideSettings(side);
}

void Form1::createSizeActions()
{
    const auto addShortcuts = [this](const QList<QKeySequence> &keys, auto slot) {
        auto *action = new QAction(this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    // Ctrl+= too: on most keyboards "+" needs Shift.
    addShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, [this] {
        // No further than the screen takes.
        if (const int up = DisplayScale::stepUp(m_scalePercent); offeredScales().contains(up)) {
            setDisplayScale(up);
        }
    });
    addShortcuts({QKeySequence::ZoomOut}, [this] { setDisplayScale(DisplayScale::stepDown(m_scalePercent)); });
    addShortcuts({QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { setDisplayScale(DisplayScale::Normal); });
    addShortcuts({QKeySequence(Qt::Key_Escape)}, [this] { leaveFullScreen(); });
    m_fullScreenAction = new QAction(QStringLiteral("全画面表示"), this);
    m_fullScreenAction->setCheckable(true);
    m_fullScreenAction->setShortcut(QKeySequence(Qt::Key_F11));
    connect(m_fullScreenAction, &QAction::triggered, this, &Form1::toggleFullScreen);
    addAction(m_fullScreenAction);
}

void Form1::setLabelFont(int index, const QFont &designFont)
{
    m_labelDesignFonts.at(index) = designFont;
    m_lblSeiriNum.at(index)->setFont(DisplayScale::scaledFont(designFont, m_scale));
}

void Form1::setDisplayScale(int percent)
{
    if (!DisplayScale::isStep(percent) || percent == m_scalePercent) {
        return;
    }
    const bool grows = percent > m_scalePercent;
    m_scalePercent = percent;
    if (!m_fullScreen) {
        setFixedSize(windowSize(percent));
        layOut();
        if (grows) {
            uncoverControlPanel();
        }
    }
    saveSideSettings();
}

QList<int> Form1::offeredScales() const
{
    const QScreen *where = screen();
    return where ? DisplayScale::fittingSteps(where->availableGeometry().size(), windowSize(DisplayScale::Normal))
                 : QList<int>(DisplayScale::Steps.cbegin(), DisplayScale::Steps.cend());
}

void Form1::uncoverControlPanel()
{
    if (m_fullScreen || !m_frmCtl || !isVisible() || !m_frmCtl->isVisible() || !m_frmCtl->screen()) {
        return;
    }
    const QRect panel = m_frmCtl->frameGeometry();
    const std::optional<QPoint> place
        = WindowPlacement::uncoveredPlace(panel, frameGeometry(), m_frmCtl->screen()->availableGeometry());
    if (!place) {
        m_frmCtl->raise();
    } else if (*place != panel.topLeft()) {
        // move() places a window by its frame.
        m_frmCtl->move(*place);
    }
}

void Form1::setSegmentStyle(int style)
{
    if (style == m_segmentStyle) {
        return;
    }
    m_segmentStyle = style;
    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        m_degit.at(n)->setDegitStyle(style);
    }
    saveSideSettings();
}

void Form1::setMissingFare(DegitFormat::MissingFare missingFare)
{
    if (missingFare == m_missingFare) {
        return;
    }
    m_missingFare = missingFare;
    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        m_degit.at(n)->setMissingFare(missingFare);
    }
    m_lcd->refresh();
    saveSideSettings();
}

void Form1::showFullScreenOn(int monitor)
{
    enterFullScreen(monitor);
    saveSideSettings();
}

void Form1::enterFullScreen(int monitor)
{
    // By position in the list: two X screens may both lie at 0,0.
    const QList<QScreen *> screens = QGuiApplication::screens();
    const int index = DisplayScale::fullScreenIndex(screens.size(), monitor);
    if (index < 0) {
        return;
    }
    QScreen *screen = screens.at(index);
    if (!m_fullScreen) {
        m_windowPos = geometry().topLeft();
        m_windowScreen = windowHandle() ? windowHandle()->screen() : nullptr;
    }
    m_fullScreen = true;
    m_monitor = monitor;
    m_fullScreenAction->setChecked(true);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    clearMask();
    moveToScreen(screen);
    setGeometry(screen->geometry());
    showFullScreen();
    layOut();
}

void Form1::leaveFullScreen()
{
    if (!m_fullScreen) {
        return;
    }
    m_fullScreen = false;
    m_fullScreenAction->setChecked(false);
    showNormal();
    if (m_windowScreen) {
        moveToScreen(m_windowScreen);
        show();
    }
    setFixedSize(windowSize(m_scalePercent));
    setGeometry(QRect(m_windowPos, size()));
    layOut();
    saveSideSettings();
}

void Form1::moveToScreen(QScreen *screen)
{
    // Another X screen needs a new native window: moved while hidden, it
    // is shown there afresh.
    if (QWindow *window = windowHandle(); window && window->screen() != screen) {
        hide();
        window->setScreen(screen);
    }
}

void Form1::toggleFullScreen()
{
    if (m_fullScreen) {
        leaveFullScreen();
    } else {
        showFullScreenOn(m_monitor);
    }
}

void Form1::resizeEvent(QResizeEvent *)
{
    layOut();
}

void Form1::layOutOffScreen(const QSize &size)
{
    m_offScreen = true;
    clearMask();
    setFixedSize(size);
    // A hidden window hears of its new size only when shown.
    layOut();
}

void Form1::layOut()
{
    if (m_fullScreen || m_offScreen) {
        const DisplayScale::Fit fit = DisplayScale::fitInto(size());
        m_scale = fit.scale;
        m_board = fit.board;
    } else {
        m_scale = m_scalePercent / 100.0;
        m_board = QRect(QPoint(0, 0), windowSize(m_scalePercent));
    }
    const QPoint origin = m_board.topLeft();
    const auto place = [&](QWidget *child, const QRect &design) {
        child->setGeometry(DisplayScale::mapped(design, m_scale, origin));
    };
    // Placed first: a new scale redraws the cell at the size it then has.
    for (int n = 0; n <= BoardLayout::Positions; ++n) {
        place(m_degit.at(n), n == 0 ? BoardLayout::hiddenCellRect() : BoardLayout::cellRect(n));
        m_degit.at(n)->setScale(m_scale);
        if (n > 0) {
            place(m_lblSeiriNum.at(n), BoardLayout::labelRect(n));
        }
        setLabelFont(n, m_labelDesignFonts.at(n));
    }
    place(m_timeDegit[0], BoardLayout::clockHoursRect());
    place(m_timeDegit[1], BoardLayout::clockMinutesRect());
    m_timeDegit[0]->setScale(m_scale);
    m_timeDegit[1]->setScale(m_scale);
    place(m_chimeiCtl, BoardLayout::stopNameRect());
    place(m_stopRequestLamp, BoardLayout::stopRequestRect());
    m_chimeiCtl->setScale(m_scale);
    m_lcd->setGeometry(rect());
    if (!m_fullScreen && !m_offScreen) {
        applyRoundedShape(m_scale);
    }
    m_scaledPicture = QPixmap();
    update();
}

void Form1::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    ScaleMenu::add(&menu, QStringLiteral("表示倍率"), offeredScales(), m_scalePercent,
                   [this](int percent) { setDisplayScale(percent); });
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.size() > 1) {
        QMenu *monitors = menu.addMenu(QStringLiteral("全画面表示"));
        for (int i = 0; i < screens.size(); ++i) {
            const QRect area = screens.at(i)->geometry();
            QAction *monitor = monitors->addAction(QStringLiteral("モニター %1（%2 × %3）").arg(i + 1).arg(area.width()).arg(area.height()));
            monitor->setCheckable(true);
            monitor->setChecked(m_fullScreen && m_monitor == i + 1);
            connect(monitor, &QAction::triggered, this, [this, i] { showFullScreenOn(i + 1); });
        }
        if (m_fullScreen) {
            monitors->addSeparator();
            monitors->addAction(QStringLiteral("ウィンドウに戻す"), QKeySequence(Qt::Key_F11), this, &Form1::leaveFullScreen);
        }
    } else {
        menu.addAction(m_fullScreenAction);
    }
    menu.exec(event->globalPos());
}

void Form1::applySideSettings(const SideSettings &side)
{
    if (m_services.settings) {
        m_monitor = side.displayMonitor;
        m_frmCtl->setPanelScale(side.panelScale);
        applyStyle(side.displayStyle);
        // Nothing to save yet: the file already says this. A scale too
        // large for this screen (the file may come from a larger one) shows
        // as the largest that fits; the file is not rewritten for that.
        const QList<int> offered = offeredScales();
        m_scalePercent = offered.contains(side.displayScale) ? side.displayScale : offered.back();
        setFixedSize(windowSize(m_scalePercent));
        layOut();
        if (side.displayFullScreen && m_startFullScreen < 0) {
            m_startFullScreen = side.displayMonitor;
        }
    }
    // Neither start changes the file: the first is what it says, the
    // command line is for this run only.
    if (m_startFullScreen >= 0) {
        enterFullScreen(m_startFullScreen > 0 ? m_startFullScreen : m_monitor);
    }
}

void Form1::saveSideSettings()
{
    if (!m_services.settings) {
        return;
    }
    SideSettingsSave::apply(sideSettings(), this, QStringLiteral("表示の設定を保存できません。"), [this](SideSettings &side) {
        side.displayScale = m_scalePercent;
        side.displayFullScreen = m_fullScreen;
        side.displayMonitor = m_monitor;
        side.displaySegmentStyle = m_segmentStyle;
        side.displayMissingFare = m_missingFare;
        side.displayStyle = m_style;
    });
}

void Form1::setDisplayStyle(DisplayStyle style)
{
    if (style == m_style) {
        if (style == DisplayStyle::Lcd) {
            hideBoard();
        }
        return;
    }
    applyStyle(style);
    saveSideSettings();
}

void Form1::applyStyle(DisplayStyle style)
{
    if (style == m_style) {
        return;
    }
    m_style = style;
    if (style == DisplayStyle::Lcd) {
        hideBoard();
        m_lcd->show();
        m_lcd->raise();
    } else {
        m_lcd->hide();
        for (const QPointer<QWidget> &child : std::as_const(m_hiddenForLcd)) {
            if (child) {
                child->show();
            }
        }
        m_hiddenForLcd.clear();
    }
    if (!m_fullScreen) {
        // The scale stays unless the other window is too large for the screen.
        const QList<int> offered = offeredScales();
        if (!offered.contains(m_scalePercent)) {
            m_scalePercent = offered.back();
        }
        setFixedSize(windowSize(m_scalePercent));
    }
    layOut();
    emit displayStyleChanged(style);
}

void Form1::hideBoard()
{
    // Hidden rather than only covered: a screen reader would read the
    // board's cells under the screen as well.
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child != m_lcd && !child->isHidden()) {
            if (!m_hiddenForLcd.contains(child)) {
                m_hiddenForLcd.append(child);
            }
            child->hide();
        }
    }
}

QSize Form1::windowSize(int percent) const
{
    return DisplayScale::windowSize(percent, m_style == DisplayStyle::Lcd ? LcdBoardPainter::Window
                                                                          : BoardLayout::WindowSize);
}

frmOption &Form1::createOptionsDialog()
{
    if (!m_frmOption) {
        m_frmOption = std::make_unique<frmOption>(*this, *m_options, m_services);
    }
    return *m_frmOption;
}

void Form1::applyRoundedShape(qreal scale)
{
    // The client rectangle with a corner ellipse of 2 x 2 design pixels: at
    // 100 % each corner loses its single outermost pixel, at a larger scale
    // the corner's small triangle of that size.
    QBitmap mask(size());
    mask.fill(Qt::color1);
    QPainter painter(&mask);
    painter.setPen(Qt::color0);
    const int cut = qMax(1, qRound(scale));
    const int r = width() - 1, b = height() - 1;
    for (int dx = 0; dx < cut; ++dx) {
        for (int dy = 0; dx + dy < cut; ++dy) {
            painter.drawPoints(QPolygon({{dx, dy}, {r - dx, dy}, {dx, b - dy}, {r - dx, b - dy}}));
        }
    }
    painter.end();
    setMask(mask);
}

void Form1::placeDisplayAsAtFirstRun()
{
    move(0, 0);
}

void Form1::placeControlPanelAsAtFirstRun()
{
    m_frmCtl->placeInCorner();
}

bool Form1::isReachable(const QWidget &window) const
{
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens()) {
        screens.append(screen->geometry());
    }
    return WindowPlacement::isReachable(window.frameGeometry(), screens);
}

void Form1::bringToFront()
{
    for (QWidget *window : {static_cast<QWidget *>(this), static_cast<QWidget *>(m_frmCtl.get())}) {
        window->showNormal();
        window->raise();
    }
    m_frmCtl->activateWindow();
}

void Form1::LoadIni()
{
    if (!m_iniIo) {
        return;
    }
    // Without a file the first-run defaults stand and nothing is said.
    const mdlIniIo::ReadOutcome outcome = m_iniIo->read();
    if (outcome.status == mdlIniIo::ReadStatus::Missing) {
        return;
    }
    // A file that could not be used is kept before the end of the run
    // replaces it, and the message says where.
    const auto reportFailure = [this](int number, const QString &description) {
        const std::optional<QString> kept = m_iniIo->keepReadFileBeforeSave();
        ErrorReport::showPlain(this,
                               ErrorReport::codeText(number, description, QStringLiteral("モジュール:mdlIniIo.LoadIni()")),
                               kept ? ErrorReport::keptFileNote(*kept) : QString());
    };
    if (outcome.status == mdlIniIo::ReadStatus::Failed) {
        reportFailure(outcome.error.number, outcome.error.description);
        return;
    }
    if (const OptionResult refused = IniApplier(*this).apply(m_iniIo->records())) {
        reportFailure(refused->number, refused->description);
    }
}

void Form1::SaveIni(ErrorReport::Audience audience)
{
    if (!m_iniIo) {
        return;
    }
    IniApplier(*this).collect(m_iniIo->records());
    if (const std::optional<IniError> failed = m_iniIo->write()) {
        const QString text = ErrorReport::codeText(failed->number, failed->description);
        if (audience == ErrorReport::Audience::Operator) {
            ErrorReport::showPlain(this, text);
        } else {
            ErrorReport::log(QStringLiteral("The settings were not saved to ") + m_services.settings->savePath(), text);
        }
    }
}

void Form1::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    m_scaledPicture = QPixmap();
    update();
}

void Form1::nameCells()
{
    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        // Full-width label digits read as plain digits.
        const QString number = m_lblSeiriNum.at(n)->text().normalized(QString::NormalizationForm_KC);
        m_degit.at(n)->setAccessibleCaption(QStringLiteral("整理券") + (number.isEmpty() ? QString::number(n) : number));
    }
    // The LCD shows the labels too.
    if (m_lcd) {
        m_lcd->refresh();
    }
}

QString Form1::ticketLabel(int position) const
{
    return m_lblSeiriNum.at(position)->text();
}

void Form1::readStopNames()
{
    m_routeNames = {};
    const FareRoute &route = m_operation->route();
    if (!route.hasRoute()) {
        return;
    }
    QStringList names;
    for (int n = 1; n <= route.state().RecordCount; ++n) {
        names << route.table().slot(n).name;
    }
    const QString routeNumber = RouteSetting::request(route.state().RouteText, QString()).routeNumber;
    QString error;
    m_routeNames =
        RouteStopNames::forFareFile(RouteSetting::fareFilePath(m_operation->fareFolder(), routeNumber), names, error);
    if (!error.isEmpty()) {
        qWarning("%s", qUtf8Printable(error));
    }
}

void Form1::showOperation(BusOperation::Changes what)
{
    using Change = BusOperation::Change;
    // First, so that every view of the new route finds its names.
    if (what & Change::Route) {
        readStopNames();
    }
    if (what & Change::Cleared) {
        if (m_operation->cleared()) {
            m_chimeiCtl->SetChimei(QString());
            for (int n = 1; n <= BoardLayout::Positions; ++n) {
                m_degit.at(n)->ResetDegit(false);
            }
            m_timer1.stop();
            for (M_Degit *clock : m_timeDegit) {
                clock->setValue(QString());
            }
        } else if (!m_timeDegit.at(0)->isHidden()) {
            m_timer1.start();
        }
    }
    if (what & Change::LampTest) {
        if (m_operation->lampTest()) {
            m_chimeiCtl->SetChimei(QStringLiteral("系統選別中"));
            for (int n = 1; n <= BoardLayout::Positions; ++n) {
                m_degit.at(n)->ResetDegit(true);
            }
            // Painted before the wait, which holds the input, not the painting.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        } else {
            for (int n = 1; n <= BoardLayout::Positions; ++n) {
                m_degit.at(n)->setValue(0);
            }
        }
    }
    if (what & Change::Stop) {
        showStop(m_operation->board());
    }
    if (what & (Change::StopRequest | Change::Cleared)) {
        // A cleared display lights nothing, this lamp neither.
        m_stopRequestLamp->setLit(m_operation->stopRequested() && !m_operation->cleared());
    }
}

void Form1::showStop(const StopView &view)
{
    if (!view.valid) {
        return;
    }
    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        const CellValue &cell = view.cells.at(static_cast<size_t>(n));
        if (const auto *number = std::get_if<qint32>(&cell)) {
            m_degit.at(n)->setValue(*number);
        } else if (const auto *text = std::get_if<QString>(&cell)) {
            m_degit.at(n)->setValue(*text);
        }
    }
    m_chimeiCtl->SetChimei(view.stopName);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // The control panel asks and, on Yes, ends the program; either way this
    // window stays until then.
    event->ignore();
    if (m_frmCtl) {
        m_frmCtl->requestEnd();
    }
}

void Form1::setLabelColor(quint32 colorRef)
{
    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        QPalette palette = m_lblSeiriNum.at(n)->palette();
        palette.setColor(QPalette::WindowText, ColorRef::toQColor(colorRef));
        m_lblSeiriNum.at(n)->setPalette(palette);
    }
}

// The client area's place, as the control panel keeps its own (frmCtl.h);
// this borderless window's frame is its client area anyway.
FormInfo Form1::GetFormInfo() const
{
    // Full screen is not a place: the window's own place is kept.
    const QPoint place = m_fullScreen ? m_windowPos : geometry().topLeft();
    return {BoardLayout::roundTwips(place.x() * double(BoardLayout::TwipsPerPixel)),
            BoardLayout::roundTwips(place.y() * double(BoardLayout::TwipsPerPixel))};
}

void Form1::SetFormInfo(const FormInfo &info)
{
    const QPoint place(info.Left / BoardLayout::TwipsPerPixel, info.Top / BoardLayout::TwipsPerPixel);
    if (m_fullScreen) {
        m_windowPos = place;
    } else {
        setGeometry(QRect(place, size()));
    }
}

void Form1::Timer1_Timer()
{
    showClock(QTime::currentTime());
}

void Form1::showClock(const QTime &time)
{
    m_timeDegit[0]->setValue(double(time.hour()));
    m_timeDegit[1]->setValue(double(time.minute()));
}

void Form1::Degit_DblClick(int index)
{
    M_Degit *clicked = m_degit.at(index);
    if (!clicked->userSet()) {
        return;
    }
    m_frmCtl->setEnabled(false);
    const qint32 result = clicked->ShowSetDlg();
    if (result == 1) {
        const int shift = clicked->shift();
        const int fillZero = clicked->fillZero();
        const int zeroMode = clicked->zeroMode();
        for (int i = 1; i <= BoardLayout::Positions; ++i) {
            M_Degit *cell = m_degit.at(i);
            const QVariant kept = cell->value();
            cell->setShift(shift);
            cell->setFillZero(fillZero);
            cell->setZeroMode(zeroMode);
            cell->setValue(kept);
        }
    }
    m_frmCtl->setEnabled(true);
}

void Form1::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (m_picture.isNull()) {
        painter.fillRect(event->rect(), Qt::black);
        return;
    }
    // Black only around the board: a 4K screen is too large to paint twice.
    const QRect shown = event->rect().intersected(m_board);
    for (const QRect &bar : QRegion(event->rect()).subtracted(m_board)) {
        painter.fillRect(bar, Qt::black);
    }
    // Made once per size, not per paint: the built-in picture is drawn
    // afresh for the size, a user's bitmap is scaled smoothly.
    if (m_picture.size() == m_board.size()) {
        m_scaledPicture = m_picture;
    } else if (m_scaledPicture.size() != m_board.size()) {
        m_scaledPicture = showsBuiltInPicture()
            ? QPixmap::fromImage(PanelPicture::image(m_board.size()))
            : m_picture.scaled(m_board.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    painter.drawPixmap(shown, m_scaledPicture, shown.translated(-m_board.topLeft()));
}

bool Form1::showsBuiltInPicture() const
{
    // Copies of a pixmap share its key: the picture is one of the built-in
    // ones when it is a copy of one.
    return std::any_of(m_imgRes.cbegin(), m_imgRes.cend(),
                       [this](const QPixmap &builtIn) { return builtIn.cacheKey() == m_picture.cacheKey(); });
}

bool Form1::startsDrag(Qt::MouseButton button, const QPoint &position) const
{
    const QWidget *child = childAt(position);
    return !m_fullScreen && button == Qt::LeftButton && (child == nullptr || child == m_lcd);
}

void Form1::mousePressEvent(QMouseEvent *event)
{
    // The window system moves the window as if its caption were dragged.
    if (startsDrag(event->button(), event->position().toPoint()) && windowHandle()) {
        windowHandle()->startSystemMove();
    }
}
