#include "frmCtl.h"

#include "fare/DigitListFrame.h"
#include "fare/KeypadFrame.h"
#include "fare/PanelButton.h"
#include "fare/PanelLooks.h"
#include "fare/OperationStatus.h"
#include "windows/TimetableRunDialog.h"
#include "app/ProgramCommandLine.h"
#include "controls/Companion.h"
#include "companion/PluginBridge.h"
#include "companion/PluginBridgeWidgets.h"
#include "controls/ChimeiCtl_B.h"
#include "display/BoardLayout.h"
#include "display/DisplayScale.h"
#include "display/ErrorReport.h"
#include "windows/Form1.h"
#include "display/JapaneseFonts.h"
#include "run/BusRun.h"
#include "run/RouteTrips.h"
#include "run/RunSlot.h"
#include "settings/OptionsStore.h"
#include "settings/SettingsLocation.h"
#include "settings/SideSettingsStore.h"
#include "windows/ScaleMenu.h"
#include "windows/SideSettingsSave.h"
#include "windows/frmOption.h"
#include "sound/MultimediaCommands.h"
#include "sound/mdlM_Tape.h"
#include "sound/mdlSndAPI.h"
#include "ticket/SeirikenPreview.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QWindow>

namespace {

using BoardLayout::fromTwips;
using PanelLooks::Green;
using PanelLooks::Yellow;

QString programName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

} // namespace

frmCtl::frmCtl(Form1 &display, const PlatformServices &services, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint)
    , m_display(display)
    , m_services(services)
    , m_bus(display.operation())
{
    setObjectName("frmCtl");
    setWindowTitle(QStringLiteral("集中操作盤"));
    setAccessibleName(windowTitle());
    setPalette(PanelLooks::panelPalette(palette()));
    setAutoFillBackground(true);
    setFont(JapaneseFonts::panelFont(QStringLiteral("ＭＳ Ｐゴシック"), 9, false));

    createInputFrames();
    createDataButtons();
    createTapeGroup();
    createSliderFrame();
    createBacklightFrame();
    createPreviewArea();
    createShortcuts();
    createStatusRow();
    // What is wrong with the side file shows here, once, from the start.
    SideSettingsStore &side = *m_services.side;
    for (const QString &problem : side.problems()) {
        addStatusNotice(problem);
    }
    connect(&side, &SideSettingsStore::problemFound, this, &frmCtl::addStatusNotice);
    connect(&m_bus, &BusOperation::changed, this, &frmCtl::showOperation);
    connect(&m_display.runs(), &RunSlot::changed, this, &frmCtl::updateStatus);
    // The marks of the check boxes and option buttons grow with the panel
    // too: the style draws them at the size given here. No text colour in
    // the sheet: the style draws the tick and the dot in that colour on the
    // box's white, where white would hide them; the captions take the
    // panel's white (grey when disabled) from the palette.
    for (QWidget *mark : {static_cast<QWidget *>(m_check1), static_cast<QWidget *>(m_check2),
                          static_cast<QWidget *>(m_option4.at(0)), static_cast<QWidget *>(m_option4.at(1)),
                          static_cast<QWidget *>(m_option4.at(2))}) {
        mark->setStyleSheet(QStringLiteral("QCheckBox::indicator, QRadioButton::indicator { width: 11px; height: 11px; }"));
        mark->setPalette(PanelLooks::panelPalette(mark->palette()));
    }
    recordDesign();
    layOut();
}

frmCtl::~frmCtl() = default;

void frmCtl::createInputFrames()
{
    // The two frames lie on top of each other; the list frame starts behind,
    // as the frame last sent back.
    m_listFrame = new DigitListFrame(this);
    m_keypadFrame = new KeypadFrame(this);
    for (QGroupBox *frame : {static_cast<QGroupBox *>(m_listFrame), static_cast<QGroupBox *>(m_keypadFrame)}) {
        frame->setGeometry(fromTwips(60, 30, 1965, 2520 + StatusRowHeight * BoardLayout::TwipsPerPixel));
    }
    // Choosing a route digit clicks like a keypad key, a section digit like route setting.
    connect(m_listFrame, &DigitListFrame::routeDigitClicked, this, [this] { playSound(m_display.options().info().Sound.SndReset, "S1", false); });
    connect(m_listFrame, &DigitListFrame::sectionDigitClicked, this, [this] { playSound(m_display.options().info().Sound.SndRouteSet, "S1", false); });
    connect(m_listFrame, &DigitListFrame::resetClicked, this, [this] { Command1_Click(0); });
    connect(m_listFrame, &DigitListFrame::doubleClicked, this, [this] { Frame1_DblClick(0); });
    connect(m_keypadFrame, &KeypadFrame::keyClicked, this, &frmCtl::CommandButton1_Click);
    connect(m_keypadFrame, &KeypadFrame::resetClicked, this, [this] { Command1_Click(1); });
    connect(m_keypadFrame, &KeypadFrame::doubleClicked, this, [this] { Frame1_DblClick(1); });
    m_keypadFrame->showEntry(m_keypad);
}

void frmCtl::createDataButtons()
{
    m_command2.at(0) = PanelLooks::button(this, "Command2(0)", QStringLiteral("データ戻し"), fromTwips(2070, 75, 1035, 510), Yellow);
    m_command2.at(1) = PanelLooks::button(this, "Command2(1)", QStringLiteral("データ送り"), fromTwips(3150, 75, 1035, 510), Yellow);
    for (int index = 0; index < 2; ++index) {
        m_command2.at(index)->setEnabled(false); // until a route is set
        connect(m_command2.at(index), &QPushButton::clicked, this, [this, index] { Command2_Click(index); });
    }
    // Narrow beside the data keys: the caption takes two lines, the name one.
    m_stopRequestKey = PanelLooks::button(this, "StopRequest", QStringLiteral("とま\nります"),
                                          fromTwips(4275, 75, 615, 510), PanelLooks::StopRed);
    m_stopRequestKey->setAccessibleName(QStringLiteral("とまります"));
    m_stopRequestKey->setCheckable(true); // held in while the lamp is lit
    m_stopRequestKey->setEnabled(false);
    connect(m_stopRequestKey, &QPushButton::clicked, this, [this] {
        m_bus.requestStop();
        // A click toggles the key; the bus says whether it is lit.
        showStopRequest();
    });
    showStopRequest();
    m_check1 = new QCheckBox(QStringLiteral("表示消去"), this);
    m_check1->setObjectName("Check1");
    m_check1->setGeometry(fromTwips(4275, 1650, 990, 270));
    m_check1->setEnabled(false);
    connect(m_check1, &QCheckBox::clicked, this, &frmCtl::Check1_Click);
}

void frmCtl::createTapeGroup()
{
    m_grpM_Tape = PanelLooks::frame(this, "grpM_Tape", QString(), fromTwips(2040, 630, 2175, 810));
    m_cmdTapeBack = PanelLooks::button(m_grpM_Tape, "cmdTapeBack", QStringLiteral("戻し"), fromTwips(90, 300, 540, 420), Green);
    m_cmdTapeNext = PanelLooks::button(m_grpM_Tape, "cmdTapeNext", QStringLiteral("送り"), fromTwips(660, 300, 540, 420), Green);
    m_cmdTapeStop = PanelLooks::button(m_grpM_Tape, "cmdTapeStop", QStringLiteral("■"), fromTwips(1230, 300, 390, 420));
    m_cmdTapeSet = PanelLooks::button(m_grpM_Tape, "cmdTapeSet", QStringLiteral("調整"), fromTwips(1650, 300, 450, 420));
    m_cmdTapeStop->setAccessibleName(QStringLiteral("停止"));
    connect(m_cmdTapeBack, &QPushButton::clicked, this, &frmCtl::cmdTapeBack_Click);
    connect(m_cmdTapeNext, &QPushButton::clicked, this, &frmCtl::cmdTapeNext_Click);
    connect(m_cmdTapeStop, &QPushButton::clicked, this, &frmCtl::cmdTapeStop_Click);
    connect(m_cmdTapeSet, &QPushButton::clicked, this, &frmCtl::cmdTapeSet_Click);

    showTapeGroup();
}

void frmCtl::createSliderFrame()
{
    m_frame6 = PanelLooks::frame(this, "Frame6", QString(), fromTwips(2040, 1455, 2175, 1095));
    m_frame6->setAccessibleName(QStringLiteral("表示設定"));
    m_check2 = new QCheckBox(QStringLiteral("深夜料金"), m_frame6);
    m_check2->setObjectName("Check2");
    m_check2->setGeometry(fromTwips(90, 75, 1200, 270));
    // Toggled, not clicked: the settings load sets the box too.
    connect(m_check2, &QCheckBox::toggled, this, &frmCtl::lateNightToggled);

    struct Slider { const char *caption; int maximum; int minimum; int designValue; };
    const std::array<Slider, 2> sliders = {{{"ｽｸﾛｰﾙ速度", 2000, 1, 1}, {"ｽｸﾛｰﾙ間隔", 3000, 0, 0}}};
    for (int index = 0; index < 2; ++index) {
        const Slider &slider = sliders.at(index);
        const int top = 420 + index * 330;
        const QString caption = QString::fromUtf8(slider.caption);
        m_label3.at(index) = PanelLooks::label(m_frame6, qPrintable(QStringLiteral("Label3(%1)").arg(index)), caption,
                                               fromTwips(90, top, 780, 270));
        auto *bar = new QScrollBar(Qt::Horizontal, m_frame6);
        bar->setObjectName(QStringLiteral("HScroll1(%1)").arg(index));
        bar->setAccessibleName(caption);
        bar->setGeometry(fromTwips(870, top + 15, 780, 240));
        // A dark track with a light thumb drawn by us: the style's own bar
        // shows no thumb worth the name on the black panel. The arrows go:
        // the track is short, and the thumb says where the value is.
        bar->setStyleSheet(QStringLiteral(
            "QScrollBar:horizontal { background: #303030; border: 1px solid #909090; border-radius: 3px; margin: 0px; }"
            "QScrollBar::handle:horizontal { background: #e8e8e8; border: 1px solid #ffffff; border-radius: 2px; min-width: 9px; }"
            "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal { width: 0px; border: none; background: none; }"
            "QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal { background: none; }"));
        // The largest value sits at the left end.
        bar->setRange(slider.minimum, slider.maximum);
        bar->setInvertedAppearance(true);
        bar->setInvertedControls(true);
        bar->setSingleStep(1);
        bar->setPageStep(std::max(1, slider.maximum / 20));
        bar->setValue(slider.designValue);
        m_hScroll1.at(index) = bar;
        m_label1.at(index) = PanelLooks::label(m_frame6, qPrintable(QStringLiteral("Label1(%1)").arg(index)),
                                       QString::number(slider.designValue), fromTwips(1680, top, 450, 270), PanelLooks::ValueOrange);
        m_label1.at(index)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(bar, &QScrollBar::valueChanged, this, [this, index] { HScroll1_Change(index); });
    }
}

void frmCtl::createBacklightFrame()
{
    m_frame2 = PanelLooks::frame(this, "Frame2", QStringLiteral("バックライト"), fromTwips(4275, 630, 960, 990));
    const std::array<const char *, 3> captions = {"OFF", "ON1", "ON2"};
    for (int index = 0; index < 3; ++index) {
        auto *option = new QRadioButton(QString::fromLatin1(captions.at(index)), m_frame2);
        option->setObjectName(QStringLiteral("Option4(%1)").arg(index));
        option->setGeometry(fromTwips(90, 270 + index * 225, 840, 225));
        connect(option, &QRadioButton::clicked, this, [this, index] { backlightClicked(index); });
        m_option4.at(index) = option;
    }
    m_option4.at(0)->setChecked(true);

    m_command4 = PanelLooks::button(this, "Command4", QStringLiteral("設定..."), fromTwips(4275, 1950, 960, 285));
    connect(m_command4, &QPushButton::clicked, this, &frmCtl::Command4_Click);
    m_command8 = PanelLooks::button(this, "Command8", QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), fromTwips(4275, 2265, 960, 285));
    connect(m_command8, &QPushButton::clicked, this, &frmCtl::Command8_Click);
}

void frmCtl::createPreviewArea()
{
    m_check4 = new QCheckBox(QStringLiteral(">>"), this);
    m_check4->setObjectName("Check4");
    m_check4->setGeometry(fromTwips(4935, 45, 330, 300));
    m_check4->setToolTip(QStringLiteral("整理券プレビューを開きます"));
    // A toggle key rather than a box: it opens and hides the preview area.
    m_check4->setStyleSheet(QStringLiteral(
        "QCheckBox { color: black; background: #e0e0e0; border: 1px solid #707070; border-radius: 3px; padding-left: 4px; spacing: 0px; }"
        "QCheckBox::indicator { width: 0px; height: 0px; }"));
    connect(m_check4, &QCheckBox::toggled, this, &frmCtl::Check4_Click);
    // Opened by the operator (not by the settings load), the wider panel may
    // reach under the display.
    connect(m_check4, &QCheckBox::clicked, this, [this](bool open) {
        if (open) {
            m_display.uncoverControlPanel();
        }
    });

    m_label4 = PanelLooks::label(this, "Label4", QStringLiteral("整理券プレビュー"), fromTwips(5370, 135, 2000, 240));
    m_picSeirikenPrev = new SeirikenPreview(this);
    m_picSeirikenPrev->setGeometry(fromTwips(5415, 390, 3300, 1395));
    showPreviewHint();
    m_combo1 = new QComboBox(this);
    m_combo1->setObjectName("Combo1");
    m_combo1->setAccessibleName(QStringLiteral("社名"));
    m_combo1->setGeometry(fromTwips(5430, 2160, 3000, 300));
}

void frmCtl::createShortcuts()
{
    // Function keys: they work whichever window has focus and take nothing
    // from the digit lists, which use the arrows and the digits.
    struct Binding { QKeySequence key; QPushButton *button; };
    const std::array<Binding, 6> bindings = {{{Qt::Key_F5, m_command2.at(0)},
                                              {Qt::Key_F6, m_command2.at(1)},
                                              {Qt::Key_F7, m_cmdTapeBack},
                                              {Qt::Key_F8, m_cmdTapeNext},
                                              {Qt::Key_F9, m_cmdTapeStop},
                                              {Qt::Key_F10, m_stopRequestKey}}};
    for (const Binding &binding : bindings) {
        auto *shortcut = new QShortcut(binding.key, this);
        shortcut->setContext(Qt::ApplicationShortcut);
        QPushButton *button = binding.button;
        // A disabled button ignores the click, so the shortcut follows the button.
        connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
        button->setToolTip(QStringLiteral("%1 (%2)").arg(button->accessibleName().isEmpty() ? button->text()
                                                                                            : button->accessibleName(),
                                                         binding.key.toString(QKeySequence::NativeText)));
    }
}

void frmCtl::createStatusRow()
{
    // Below the right-hand controls; its width follows the panel's.
    m_statusRow = PanelLooks::label(this, "StatusRow", QString(), fromTwips(2040, 2595, 3225, 420));
    m_statusRow->setAccessibleName(QStringLiteral("運行状況"));
    m_statusRow->setTextFormat(Qt::PlainText);
    m_statusRow->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_statusRow->setStyleSheet(QStringLiteral("QLabel { background: #141414; border: 1px solid #505050; padding: 0px 3px; }"));
    updateStatus();
}

void frmCtl::addStatusNotice(const QString &text)
{
    if (text.isEmpty() || m_statusNotices.contains(text)) {
        return;
    }
    m_statusNotices << text;
    updateStatus();
}

void frmCtl::updateStatus()
{
    const OperationStatus status(m_bus.route(), m_bus.tape());
    const QString run = m_display.runs().statusText();
    QStringList all{status.text()};
    if (!run.isEmpty()) {
        all.prepend(QString(run).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    }
    const QString whole = (all + m_statusNotices).join(QLatin1Char('\n'));
    // Two lines: where the bus is, and what comes next, each cut to the row.
    // While the bus runs by itself the run's lines take the row: its clock,
    // and its next stop and when (the board shows where the bus is).
    const QFontMetrics metrics(m_statusRow->font());
    const int width = m_statusRow->contentsRect().width();
    QStringList lines{metrics.elidedText(status.locationText(), Qt::ElideRight, width)};
    if (!run.isEmpty()) {
        lines.clear();
        for (const QString &line : run.split(QLatin1Char('\n')).mid(0, 2)) {
            lines << metrics.elidedText(line, Qt::ElideRight, width);
        }
    } else if (m_bus.route().hasRoute()) {
        lines << metrics.elidedText(status.announcementText(), Qt::ElideRight, width);
    } else if (!m_statusNotices.isEmpty()) {
        lines << metrics.elidedText(m_statusNotices.join(QStringLiteral("　")), Qt::ElideRight, width);
    }
    m_statusRow->setText(lines.join(QLatin1Char('\n')));
    m_statusRow->setToolTip(whole);
    m_statusRow->setAccessibleDescription(whole);
}

// ---------------------------------------------------------------------------
// Scale

void frmCtl::recordDesign()
{
    m_designFont = font();
    const auto note = [this](QWidget *control) {
        DesignLook look{control->geometry(), std::nullopt, control->styleSheet()};
        // A control with a style sheet keeps the font it was polished with
        // rather than following the panel's: it gets its own.
        if (control->testAttribute(Qt::WA_SetFont) || !look.styleSheet.isEmpty()) {
            look.font = control->font();
        }
        m_design.insert(control, look);
    };
    // The panel's controls and those of its frames; the insides of a list
    // or a combo box are laid out by their owners.
    for (QWidget *control : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        note(control);
        if (qobject_cast<QGroupBox *>(control)) {
            for (QWidget *inner : control->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                note(inner);
            }
        }
    }
}

void frmCtl::setPanelScale(int percent)
{
    if (!DisplayScale::isPanelStep(percent) || percent == m_scalePercent) {
        return;
    }
    m_scalePercent = percent;
    layOut();
    keepOnScreen();
}

QSize frmCtl::clientSize() const
{
    const QSize design(m_check4->isChecked() ? PreviewOpenWidth : DesignSize.width(), DesignSize.height() + StatusRowHeight);
    return DisplayScale::mapped(QRect(QPoint(0, 0), design), m_scale).size();
}

void frmCtl::layOut()
{
    m_scale = m_scalePercent / 100.0;
    setFont(DisplayScale::scaledFont(m_designFont, m_scale));
    for (auto design = m_design.cbegin(); design != m_design.cend(); ++design) {
        QWidget *control = design.key();
        control->setGeometry(DisplayScale::mapped(design->place, m_scale));
        if (design->font) {
            control->setFont(DisplayScale::scaledFont(*design->font, m_scale));
        }
        if (!design->styleSheet.isEmpty()) {
            control->setStyleSheet(DisplayScale::scaledStyleSheet(design->styleSheet, m_scale));
        }
    }
    if (m_loaded) {
        m_keypadFrame->roundKeys(m_scale);
    }
    layOutSliders();
    const QSize client = clientSize();
    setFixedSize(client);
    // The status row reaches to the right edge, over the preview's width too.
    const int margin = DisplayScale::mapped(QRect(0, 0, 2, 2), m_scale).width();
    m_statusRow->setGeometry(m_statusRow->x(), m_statusRow->y(), client.width() - m_statusRow->x() - margin,
                             client.height() - m_statusRow->y() - margin);
    updateStatus();
}

void frmCtl::layOutSliders()
{
    const int gap = DisplayScale::mapped(QRect(0, 0, 4, 4), m_scale).width();
    for (int index = 0; index < 2; ++index) {
        QLabel *caption = m_label3.at(index);
        QLabel *value = m_label1.at(index);
        QScrollBar *bar = m_hScroll1.at(index);
        caption->resize(QFontMetrics(caption->font()).horizontalAdvance(caption->text()) + gap / 2, caption->height());
        // Room for the widest value the slider gives.
        const int valueWidth = QFontMetrics(value->font()).horizontalAdvance(QString::number(bar->maximum())) + gap / 2;
        const int right = m_frame6->width() - gap;
        value->setGeometry(right - valueWidth, value->y(), valueWidth, value->height());
        const int left = caption->geometry().right() + 1 + gap;
        bar->setGeometry(left, bar->y(), std::max(gap, value->x() - gap - left), bar->height());
    }
}

void frmCtl::choosePanelScale(int percent)
{
    const bool grows = percent > m_scalePercent;
    setPanelScale(percent);
    if (grows) {
        // Grown, it may now lie under the display.
        m_display.uncoverControlPanel();
    }
    if (!m_services.settings) {
        return;
    }
    SideSettingsSave::apply(*m_services.side, this, QStringLiteral("操作盤の大きさを保存できません。"),
                            [this](SideSettings &side) { side.panelScale = m_scalePercent; });
}

bool frmCtl::englishAnnouncements() const
{
    return m_bus.englishAnnouncements();
}

void frmCtl::setEnglishAnnouncements(bool on)
{
    if (on == m_bus.englishAnnouncements()) {
        return;
    }
    m_bus.setEnglishAnnouncements(on);
    if (!m_services.settings) {
        return;
    }
    SideSettingsSave::apply(*m_services.side, this, QStringLiteral("英語放送の設定を保存できません。"),
                            [on](SideSettings &side) { side.soundEnglish = on; });
}

void frmCtl::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    ScaleMenu::add(&menu, QStringLiteral("操作盤の倍率"),
                   QList<int>(DisplayScale::PanelSteps.cbegin(), DisplayScale::PanelSteps.cend()), m_scalePercent,
                   [this](int percent) { choosePanelScale(percent); });
    addRunMenuItems(&menu);
    emit contextMenuOpening(&menu);
    menu.exec(event->globalPos());
}

void frmCtl::addRunMenuItems(QMenu *menu)
{
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("時刻表で運行…")), &QAction::triggered, this, &frmCtl::chooseTimetableRun);
    RunSlot &runs = m_display.runs();
    if (const BusRun *run = runs.run()) {
        const bool paused = run->paused();
        connect(menu->addAction(paused ? QStringLiteral("運行を再開") : QStringLiteral("運行を一時停止")),
                &QAction::triggered, this, [this, paused] {
                    const CommandResult result = m_display.runs().setPaused(!paused);
                    if (result.outcome != CommandResult::Done) {
                        ErrorReport::showPlain(this, result.reason);
                    }
                });
        connect(menu->addAction(QStringLiteral("運行をやめる")), &QAction::triggered, this,
                [this] { m_display.runs().stop(); });
    }
}

void frmCtl::chooseTimetableRun()
{
    QString problem;
    const std::optional<RouteTrips> trips = RouteTrips::forBus(m_bus, &problem);
    if (!trips) {
        ErrorReport::showPlain(this, QStringLiteral("時刻表で運行できません。"), problem);
        return;
    }
    TimetableRunDialog dialog(*trips, m_bus.route().state().RouteText, m_bus.route().state().StartSection, this);
    if (dialog.exec() != QDialog::Accepted || dialog.tripId().isEmpty()) {
        return;
    }
    const CommandResult result = m_display.runs().startTimetable(dialog.tripId(), dialog.speed());
    if (result.outcome != CommandResult::Done) {
        ErrorReport::showPlain(this, QStringLiteral("時刻表で運行できません。"),
                               result.detail.isEmpty() ? result.reason : result.reason + QLatin1Char('\n') + result.detail);
    }
}

// ---------------------------------------------------------------------------
// Start and end

void frmCtl::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        windowHandle()->installEventFilter(this);
        Form_Load();
    }
}

void frmCtl::Form_Load()
{
    // The display window's caption names the model: the program file's name.
    m_display.setWindowTitle(QStringLiteral("Tavelo - 型番:") + programName());
    m_keypadFrame->roundKeys(m_scale);
    if (m_services.settings) {
        m_bus.setEnglishAnnouncements(m_services.side->settings().soundEnglish);
    }
    m_bus.tape().InitSpeech();
}

bool frmCtl::requestEnd()
{
    if (m_ending) {
        return true;
    }
    const auto answer = QMessageBox::question(this, QStringLiteral("Taveloの終了確認"),
                                              QStringLiteral("Taveloを終了しますか？"),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    // The session may have ended while the question was open.
    if (m_ending) {
        return true;
    }
    if (answer != QMessageBox::Yes) {
        return false;
    }
    runEndSequence(ErrorReport::Audience::Operator);
    return true;
}

void frmCtl::endUnattended()
{
    if (m_ending) {
        emit quitRequested();
        return;
    }
    runEndSequence(ErrorReport::Audience::LogOnly);
}

void frmCtl::runEndSequence(ErrorReport::Audience audience)
{
    m_ending = true;
    m_display.ChimeiCtl()->SetChimei(QString());
    m_display.DeleteRgn();
    if (m_services.multimedia) {
        mdlSndAPI(*m_services.multimedia).CloseAllSnd();
    }
    m_bus.tape().ReleaseSpeech();
    m_display.SaveIni(audience);
    emit quitRequested();
}

bool frmCtl::eventFilter(QObject *watched, QEvent *event)
{
    // At the first exposure the window manager has framed the panel.
    if (watched == windowHandle() && event->type() == QEvent::Expose && m_cornerPending
        && windowHandle()->isExposed()) {
        placeInCorner();
        m_cornerPending = false;
        m_display.uncoverControlPanel();
    }
    return QWidget::eventFilter(watched, event);
}

void frmCtl::closeEvent(QCloseEvent *event)
{
    if (requestEnd()) {
        event->accept();
    } else {
        event->ignore();
    }
}

// ---------------------------------------------------------------------------
// Following the bus

void frmCtl::showOperation(BusOperation::Changes what)
{
    using Change = BusOperation::Change;
    if (what & Change::Route) {
        // However it was set, both input frames show the route that is set.
        const QString route = m_bus.route().state().RouteText;
        m_keypad.showRoute(route, m_bus.sectionText());
        m_keypadFrame->showEntry(m_keypad);
        m_listFrame->showRoute(route, m_bus.sectionText());
    }
    if (what & Change::LateNight) {
        m_check2->setChecked(m_bus.lateNight());
    }
    if (what & Change::Cleared) {
        m_check1->setChecked(m_bus.cleared());
    }
    if (what & Change::Backlight) {
        m_option4.at(m_bus.backlight())->setChecked(true);
        Option4_Click(m_bus.backlight());
    }
    if (what & (Change::Route | Change::Cleared)) {
        showKeys();
    }
    if (what & Change::StopRequest) {
        showStopRequest();
    }
    if (what & (Change::Announcement | Change::Cleared)) {
        showTapeGroup();
    }
    if (what & Change::Stop) {
        showSeiriken(m_bus.board().ticket);
    }
    if (what & (Change::Route | Change::Stop)) {
        updateStatus();
    }
}

void frmCtl::showKeys()
{
    const bool cleared = m_bus.cleared();
    for (QWidget *control : {static_cast<QWidget *>(m_listFrame), static_cast<QWidget *>(m_keypadFrame),
                             static_cast<QWidget *>(m_frame6)}) {
        control->setEnabled(!cleared);
    }
    for (PanelButton *key : {m_command2.at(0), m_command2.at(1), m_stopRequestKey}) {
        key->setEnabled(m_bus.route().hasRoute() && !cleared);
    }
    m_check1->setEnabled(m_bus.route().hasRoute());
}

// ---------------------------------------------------------------------------
// Route setting

void frmCtl::Command1_Click(int Index)
{
    const CommandResult result = Index == 1 ? m_bus.setRoute(m_keypad.routeText(), m_keypad.sectionText())
                                            : m_bus.setRoute(m_listFrame->routeText(), m_listFrame->sectionText());
    if (result.outcome == CommandResult::Refused) {
        // A plain OK box: no icon and no title of its own.
        ErrorReport::showPlain(this, result.reason, result.detail);
    }
}

// ---------------------------------------------------------------------------
// The ticket preview

QString frmCtl::seirikenPlugin(const TicketRequest &ticket) const
{
    const OptSeiriken options = m_bus.options().Seiriken;
    if (options.UseSeiriPrev == 0 || !ticket.isIssued()) {
        return {};
    }
    return options.PluginPath;
}

void frmCtl::showSeiriken(TicketRequest ticket)
{
    m_picSeirikenPrev->clear();
    ticket.pluginPath = seirikenPlugin(ticket);
    if (ticket.pluginPath.isEmpty()) {
        showPreviewHint();
        return;
    }
    ticket.companyIndex = m_combo1->currentIndex();
    const qint32 drawn = PluginBridge::Brix4_DrawSeiriken(
        ticket.pluginPath, &m_picSeirikenPrev->image(), ticket.stopName, ticket.dateText, ticket.timeText,
        ticket.routeNumber, ticket.ticketNumber, ticket.stopPosition, ticket.companyIndex);
    if (drawn != 0) {
        m_picSeirikenPrev->setTicket(ticket.pluginPath,
                                     QStringLiteral("整理券 %1番 %2").arg(ticket.ticketNumber).arg(ticket.stopName));
    }
    showPreviewHint();
    m_picSeirikenPrev->update();
}

void frmCtl::takePlugin(const QString &file, const PlgInfo &info)
{
    // The ticket's size is in twips, 15 to the pixel.
    m_picSeirikenPrev->resize(info.PrevWidth / BoardLayout::TwipsPerPixel, info.PrevHeight / BoardLayout::TwipsPerPixel);
    if (info.CorpCount >= 1) {
        PluginBridgeWidgets::Brix4_SetCorpAddList(file, m_combo1);
    }
}

void frmCtl::forgetPluginCompanies()
{
    m_combo1->clear();
}

void frmCtl::showPreviewHint()
{
    const OptSeiriken options = m_bus.options().Seiriken;
    QString hint;
    if (options.UseSeiriPrev == 0 || options.PluginPath.isEmpty()) {
        // Named as the options dialog and this panel label them.
        hint = QStringLiteral("整理券プラグインが選ばれていません。\n「設定...」の「整理券プレビュー」で"
                              "「整理券プレビュー機能を使用する」にチェックを入れ、「整理券プラグイン」を選んでください。");
    } else if (!m_bus.route().hasRoute()) {
        hint = QStringLiteral("系統を設定すると、停留所の整理券がここに出ます。");
    } else if (m_picSeirikenPrev->ticketPlugin().isEmpty()) {
        const StopView view = m_bus.stopView(m_bus.route().currentStop());
        hint = view.valid && view.ticket.isIssued()
            ? QStringLiteral("整理券プラグインが整理券を描けませんでした（%1）。").arg(options.PluginPath)
            : QStringLiteral("この停留所では整理券は出ません。");
    }
    m_picSeirikenPrev->setHint(hint);
}

void frmCtl::showMissingSeiriken()
{
    if (!m_bus.route().hasRoute()) {
        return;
    }
    // A plug-in chosen since the stop was shown gave the box its size, which
    // starts a white picture. A ticket drawn by the plug-in still chosen stays
    // as it was printed.
    const StopView view = m_bus.stopView(m_bus.route().currentStop());
    if (view.valid && seirikenPlugin(view.ticket) != m_picSeirikenPrev->ticketPlugin()) {
        showSeiriken(view.ticket);
    }
}

// ---------------------------------------------------------------------------
// Stepping and announcements

void frmCtl::Command2_Click(int Index)
{
    m_bus.step(Index == 1);
}

void frmCtl::showStopRequest()
{
    const bool lit = m_bus.stopRequested();
    m_stopRequestKey->setChecked(lit);
    m_stopRequestKey->setAccessibleDescription(lit ? QStringLiteral("点灯") : QStringLiteral("消灯"));
}

void frmCtl::showTapeGroup()
{
    const mdlM_Tape &tape = m_bus.tape();
    m_grpM_Tape->setTitle(tape.groupCaption());
    m_grpM_Tape->setEnabled(tape.groupEnabled() && !m_bus.cleared());
    // Why a route has no announcements, where the operator looks for it.
    m_grpM_Tape->setToolTip(tape.loadProblem());
    m_grpM_Tape->setAccessibleDescription(tape.loadProblem());
    for (QPushButton *button : {m_cmdTapeBack, m_cmdTapeNext, m_cmdTapeStop, m_cmdTapeSet}) {
        button->setEnabled(tape.buttonsEnabled());
    }
    if (m_statusRow) {
        updateStatus();
    }
}

void frmCtl::cmdTapeNext_Click()
{
    m_bus.announce(true);
}

void frmCtl::cmdTapeBack_Click()
{
    m_bus.announce(false);
}

void frmCtl::cmdTapeStop_Click()
{
    m_bus.stopAnnouncement();
}

void frmCtl::cmdTapeSet_Click()
{
    m_bus.tape().ShowVoiceDialog(this);
}

// ---------------------------------------------------------------------------
// Keypad and input frames

void frmCtl::CommandButton1_Click(int Index)
{
    playSound(m_display.options().info().Sound.SndReset, "S1", false);
    m_keypad.press(Index);
    m_keypadFrame->showEntry(m_keypad);
}

void frmCtl::Frame1_DblClick(int Index)
{
    m_inputFrame = static_cast<qint16>(Index);
    Frame1(Index)->lower();
}

// ---------------------------------------------------------------------------
// Clear display, sliders, backlight

void frmCtl::Check1_Click()
{
    m_bus.setCleared(m_check1->isChecked());
    // A box the bus did not follow shows the bus again.
    m_check1->setChecked(m_bus.cleared());
}

void frmCtl::lateNightToggled(bool on)
{
    m_bus.setLateNight(on);
    const QSignalBlocker quiet(m_check2);
    m_check2->setChecked(m_bus.lateNight());
}

void frmCtl::HScroll1_Change(int Index)
{
    m_label1.at(Index)->setText(QString::number(m_hScroll1.at(Index)->value()));
    ChimeiCtl_B *strip = m_display.ChimeiCtl();
    strip->setSpeed(m_hScroll1.at(0)->value());
    strip->setScrollStartWait(m_hScroll1.at(1)->value());
}

int frmCtl::backlightState() const
{
    return m_bus.backlight();
}

void frmCtl::backlightClicked(int Index)
{
    const bool already = m_bus.backlight() == Index;
    if (m_bus.setBacklight(Index).outcome != CommandResult::Done) {
        m_option4.at(m_bus.backlight())->setChecked(true);
    } else if (already) {
        Option4_Click(Index);
    }
}

void frmCtl::Option4_Click(int Index)
{
    const OptPanel &panel = m_display.options().info().Panel;
    if (!panel.usesUserPicture(Index)) {
        m_display.setPicture(m_display.imgRes(Index));
    } else if (const QString &file = panel.pictureFile(Index); QFileInfo(file).isFile()) {
        // A missing file leaves the picture as it is, without a word.
        QImageReader reader(file);
        const QImage image = reader.read();
        if (image.isNull()) {
            const int errorNumber = reader.error() == QImageReader::FileNotFoundError ? 53
                : reader.error() == QImageReader::DeviceError                       ? 57
                                                                                    : 481;
            showPictureError(file, errorNumber);
        } else {
            // A larger picture is cut at the right and bottom; a smaller one
            // sits at the top left on grey.
            QPixmap panel(BoardLayout::WindowSize);
            panel.fill(QColor(0xC0, 0xC0, 0xC0));
            QPainter(&panel).drawImage(0, 0, image);
            m_display.setPicture(panel);
        }
    }
    m_display.setLabelColor(panel.ticketNumberColor(Index));
}

void frmCtl::setPictureErrorsShownOnce(bool once)
{
    m_shownPictureErrors.reset();
    if (once) {
        m_shownPictureErrors.emplace();
    }
}

void frmCtl::showPictureError(const QString &file, int errorNumber)
{
    if (m_shownPictureErrors) {
        const QPair<QString, int> error{file, errorNumber};
        if (m_shownPictureErrors->contains(error)) {
            return;
        }
        m_shownPictureErrors->insert(error);
    }
    ErrorReport::show(this, ErrorReport::panelPictureText(errorNumber), QStringLiteral("エラー"));
}

// ---------------------------------------------------------------------------
// Options, About, preview

void frmCtl::Command4_Click()
{
    frmOption *opts = m_display.optionsDialog();
    if (!opts) {
        return;
    }
    m_display.setEnabled(false);
    setEnabled(false);
    opts->exec();
    m_display.setEnabled(true);
    setEnabled(true);
    // Before the name: a long one scrolls in a loop of its own that this
    // handler returns from only when the next name is shown.
    showMissingSeiriken();
    showPreviewHint();
    showCurrentStopName();
}

void frmCtl::showCurrentStopName()
{
    // Blank first: a changed look of the strip takes effect with the next name.
    m_display.ChimeiCtl()->SetChimei(QString());
    if (m_bus.route().hasRoute()) {
        m_display.ChimeiCtl()->SetChimei(m_bus.route().table().slot(m_bus.route().currentStop()).name);
    }
}

QString frmCtl::aboutText()
{
    return QStringLiteral("型番：") + programName() + QStringLiteral("\r\n")
        + QStringLiteral("バージョン：") + ProgramCommandLine::version() + QStringLiteral("\r\n")
        + QStringLiteral("\r\n")
        + QStringLiteral("頒布：Tavelo 運賃表示器シミュレーター利用者の会\r\n")
        + QStringLiteral("開発：Tavelo 開発チーム\r\n");
}

void frmCtl::Command8_Click()
{
    if (!m_services.companion) {
        return;
    }
    m_display.setEnabled(false);
    m_services.companion->Call_dlg110(this, 1, aboutText());
    m_display.setEnabled(true);
}

void frmCtl::Check4_Click()
{
    const bool open = m_check4->isChecked();
    layOut();
    m_check4->setText(open ? QStringLiteral("<<") : QStringLiteral(">>"));
    m_check4->setToolTip(open ? QStringLiteral("整理券プレビューを隠します") : QStringLiteral("整理券プレビューを開きます"));
    if (open) {
        keepOnScreen();
        showMissingSeiriken();
        showPreviewHint();
    }
}

void frmCtl::keepOnScreen()
{
    // The panel starts at the screen's bottom-right corner, so the widened or
    // enlarged panel would open off the screen: move it left and up until
    // its right and bottom edges fit.
    const QScreen *where = screen();
    if (!where || !isVisible()) {
        return;
    }
    const QRect area = where->availableGeometry();
    const int right = std::max(0, frameGeometry().right() - area.right());
    const int down = std::max(0, frameGeometry().bottom() - area.bottom());
    if (right > 0 || down > 0) {
        move(pos().x() - right, pos().y() - down);
    }
}

void frmCtl::placeInCorner()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(area.right() + 1 - outer.width(), area.bottom() + 1 - outer.height());
    const QWindow *window = windowHandle();
    m_cornerPending = !window || !window->isExposed();
}

// ---------------------------------------------------------------------------
// The settings file's record

CtrlDataInfo frmCtl::GetCtrlDataInfo() const
{
    CtrlDataInfo info;
    info.InputFrame = m_inputFrame;
    info.ScrollSpeed = m_hScroll1.at(0)->value();
    info.ScrollStartWait = m_hScroll1.at(1)->value();
    info.LateNight = m_bus.lateNight() ? 1 : 0;
    info.PreviewOpen = m_check4->isChecked() ? 1 : 0;
    info.Left = BoardLayout::roundTwips(geometry().x() * double(BoardLayout::TwipsPerPixel));
    info.Top = BoardLayout::roundTwips(geometry().y() * double(BoardLayout::TwipsPerPixel));
    return info;
}

void frmCtl::SetCtrlDataInfo(const CtrlDataInfo &info)
{
    // setGeometry places the client area; move() would place the frame,
    // and, before the frame is known, the client area after all.
    m_cornerPending = false;
    setGeometry(QRect(QPoint(info.Left / BoardLayout::TwipsPerPixel, info.Top / BoardLayout::TwipsPerPixel), size()));
    // The scroll bars correct values out of their ranges; a change acts as
    // the operator's, so the labels and the strip follow.
    m_hScroll1.at(0)->setValue(info.ScrollSpeed);
    m_hScroll1.at(1)->setValue(info.ScrollStartWait);
    const int frame = info.InputFrame == 1 ? 1 : 0;
    m_check4->setChecked(info.PreviewOpen != 0);
    m_check2->setChecked(info.LateNight != 0);
    Frame1_DblClick(frame);
}

// ---------------------------------------------------------------------------
// Helpers

QGroupBox *frmCtl::Frame1(int i) const
{
    return i == 0 ? static_cast<QGroupBox *>(m_listFrame) : m_keypadFrame;
}

QListWidget *frmCtl::List2(int i) const
{
    return m_listFrame->routeList(i);
}

QListWidget *frmCtl::List3(int i) const
{
    return m_listFrame->sectionList(i);
}

PanelButton *frmCtl::Command1(int i) const
{
    return i == 0 ? m_listFrame->resetButton() : m_keypadFrame->resetButton();
}

PanelButton *frmCtl::CommandButton1(int i) const
{
    return m_keypadFrame->key(i);
}

QLabel *frmCtl::Label2(int i) const
{
    return m_keypadFrame->display(i);
}

void frmCtl::playSound(const QString &file, const char *channel, bool wait)
{
    if (m_services.multimedia) {
        mdlSndAPI(*m_services.multimedia).PlaySnd(file, QLatin1String(channel), wait, 0);
    }
}
