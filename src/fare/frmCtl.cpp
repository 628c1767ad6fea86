#include "frmCtl.h"

#include "PanelButton.h"
#include "PanelOptions.h"
#include "companion/Companion.h"
#include "companion/PluginBridge.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "display/BoardLayout.h"
#include "display/ErrorReport.h"
#include "display/Form1.h"
#include "display/JapaneseFonts.h"
#include "fare/FareBoard.h"
#include "fare/RouteSetting.h"
#include "fare/SteppingSound.h"
#include "settings/ColorButton.h"
#include "settings/frmOption.h"
#include "sound/MultimediaCommands.h"
#include "sound/TapeOptions.h"
#include "sound/mdlM_Tape.h"
#include "sound/mdlSndAPI.h"
#include "ticket/SeirikenPreview.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>

namespace {

using BoardLayout::fromTwips;

constexpr int Cells = BoardLayout::Positions;
const QColor Yellow(0xFF, 0xFF, 0x00);     // 0x00FFFF
const QColor Green(0x00, 0xC0, 0x00);      // 0x00C000
const QColor LedOrange(0xFF, 0x80, 0x00);  // 0x0080FF
const QColor ValueOrange(0xFF, 0xC0, 0x80); // 0x0080C0FF

// The panel's own colours: white captions on black.
QPalette panelPalette(QPalette palette)
{
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x70, 0x70, 0x70));
    return palette;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption, const QRect &place,
                  const QColor &color = Qt::white)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

PanelButton *makeButton(QWidget *parent, const QString &name, const QString &caption, const QRect &place,
                        const QColor &face = QColor(PanelButton::DefaultFace))
{
    auto *button = new PanelButton(caption, parent, face);
    button->setObjectName(name);
    button->setGeometry(place);
    return button;
}

QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &title, const QRect &place)
{
    auto *frame = new QGroupBox(title, parent);
    frame->setObjectName(name);
    frame->setGeometry(place);
    frame->setAutoFillBackground(true);
    return frame;
}

// A list of the digits "0" to "9", all visible at once, as on the panel.
QListWidget *makeDigitList(QWidget *parent, const QString &name, const QString &accessibleName, const QRect &place)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    list->setGeometry(place);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setFont(JapaneseFonts::panelFont(QStringLiteral("ＭＳ Ｐゴシック"), 7.5, false));
    list->setStyleSheet(QStringLiteral("QListWidget { padding: 0px; } QListWidget::item { height: 10px; padding: 0px; }"));
    for (int digit = 0; digit <= 9; ++digit) {
        auto *item = new QListWidgetItem(QString::number(digit), list);
        item->setTextAlignment(Qt::AlignCenter);
    }
    return list;
}

// An LED window: orange digits on black.
QLabel *makeLedDisplay(QWidget *parent, const char *name, const QString &caption, const QRect &place)
{
    QLabel *led = makeLabel(parent, name, caption, place, LedOrange);
    led->setAutoFillBackground(true);
    led->setAlignment(Qt::AlignCenter);
    led->setFont(JapaneseFonts::panelFont(QStringLiteral("ＭＳ ゴシック"), 14.25, true));
    return led;
}

QString programName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

} // namespace

frmCtl::frmCtl(Form1 &display, const PlatformServices &services, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint)
    , m_display(display)
    , m_services(services)
{
    setObjectName("frmCtl");
    setWindowTitle(QStringLiteral("集中操作盤"));
    setAccessibleName(windowTitle());
    setFixedSize(DesignSize);
    setPalette(panelPalette(palette()));
    setAutoFillBackground(true);
    setFont(JapaneseFonts::panelFont(QStringLiteral("ＭＳ Ｐゴシック"), 9, false));

    m_tape = std::make_unique<mdlM_Tape>(m_services.speech, m_services.chimes, [this] { return tapeOptions(); });
    // The list frame starts behind the keypad: it is the frame last sent back.
    createListFrame();
    createKeypadFrame();
    createDataButtons();
    createTapeGroup();
    createSliderFrame();
    createBacklightFrame();
    createPreviewArea();
    createShortcuts();
    connect(this, &frmCtl::dataStepRequested, this, &frmCtl::Command2_Click);
}

frmCtl::~frmCtl() = default;

void frmCtl::createListFrame()
{
    QGroupBox *frame = makeFrame(this, "Frame1(0)", QString(), fromTwips(60, 30, 1965, 2520));
    frame->setAccessibleName(QStringLiteral("系統設定"));
    m_frame1.at(0) = frame;
    makeLabel(frame, "Label5", QStringLiteral("系統設定"), fromTwips(90, 60, 1200, 240));
    QLabel *routeCaption = makeLabel(frame, "Label6", QStringLiteral("系　統"), fromTwips(90, 300, 1125, 240));
    QLabel *sectionCaption = makeLabel(frame, "Label7", QStringLiteral("区間"), fromTwips(1260, 300, 675, 240));
    for (QLabel *caption : {routeCaption, sectionCaption}) {
        caption->setAlignment(Qt::AlignCenter);
    }
    for (int i = 0; i < 5; ++i) {
        m_list2.at(i) = makeDigitList(frame, QStringLiteral("List2(%1)").arg(i),
                                      QStringLiteral("系統 %1桁目").arg(i + 1), fromTwips(90 + i * 225, 555, 225, 1575));
        // Choosing a route digit clicks like a keypad key.
        connect(m_list2.at(i), &QListWidget::itemClicked, this, [this] { playSound(soundFile(1), "S1", false); });
    }
    for (int i = 0; i < 3; ++i) {
        m_list3.at(i) = makeDigitList(frame, QStringLiteral("List3(%1)").arg(i),
                                      QStringLiteral("区間 %1桁目").arg(i + 1), fromTwips(1260 + i * 225, 555, 225, 1575));
        connect(m_list3.at(i), &QListWidget::itemClicked, this, [this] { playSound(soundFile(0), "S1", false); });
    }
    m_command1.at(0) = makeButton(frame, "Command1(0)", QStringLiteral("リセット"), fromTwips(330, 2175, 1410, 300));
    connect(m_command1.at(0), &QPushButton::clicked, this, [this] { Command1_Click(0); });
    frame->installEventFilter(this);
}

void frmCtl::createKeypadFrame()
{
    QGroupBox *frame = makeFrame(this, "Frame1(1)", QString(), fromTwips(60, 30, 1965, 2520));
    frame->setAccessibleName(QStringLiteral("系統設定（テンキー）"));
    m_frame1.at(1) = frame;

    m_label2.at(0) = makeLedDisplay(frame, "Label2(0)", QString(), fromTwips(225, 165, 810, 330));
    m_label2.at(1) = makeLedDisplay(frame, "Label2(1)", QStringLiteral("-"), fromTwips(1035, 165, 255, 330));
    m_label2.at(2) = makeLedDisplay(frame, "Label2(2)", QString(), fromTwips(1290, 165, 465, 330));
    m_label2.at(1)->setAutoFillBackground(false);

    // The phone layout: 7 8 9 / 4 5 6 / 1 2 3 / 0 系統 区間.
    const std::array<int, 12> keyAt = {7, 8, 9, 4, 5, 6, 1, 2, 3, 0, KeypadEntry::RouteKey, KeypadEntry::SectionKey};
    const std::array<int, 3> columns = {330, 810, 1290};
    const std::array<int, 4> rows = {570, 975, 1395, 1815};
    const QFont digitFont = JapaneseFonts::panelFont(QStringLiteral("ＭＳ Ｐゴシック"), 15.75, true);
    const QFont wordFont = JapaneseFonts::panelFont(QStringLiteral("ＭＳ Ｐゴシック"), 8.25, false);
    for (int place = 0; place < 12; ++place) {
        const int index = keyAt.at(place);
        const bool digit = index <= 9;
        const QString caption = digit ? QString::number(index)
            : index == KeypadEntry::RouteKey ? QStringLiteral("系統")
                                             : QStringLiteral("区間");
        PanelButton *key = makeButton(frame, QStringLiteral("CommandButton1(%1)").arg(index), caption,
                                      fromTwips(columns.at(place % 3), rows.at(place / 3), 450, 390),
                                      digit ? QColor(PanelButton::DefaultFace) : Yellow);
        key->setFont(digit ? digitFont : wordFont);
        connect(key, &QPushButton::clicked, this, [this, index] { CommandButton1_Click(index); });
        m_commandButton1.at(index) = key;
    }
    m_command1.at(1) = makeButton(frame, "Command1(1)", QStringLiteral("リセット"), fromTwips(330, 2250, 1410, 240));
    connect(m_command1.at(1), &QPushButton::clicked, this, [this] { Command1_Click(1); });
    frame->installEventFilter(this);
    showKeypadDisplays();
}

void frmCtl::createDataButtons()
{
    m_command2.at(0) = makeButton(this, "Command2(0)", QStringLiteral("データ戻し"), fromTwips(2070, 75, 1035, 510), Yellow);
    m_command2.at(1) = makeButton(this, "Command2(1)", QStringLiteral("データ送り"), fromTwips(3150, 75, 1035, 510), Yellow);
    for (int index = 0; index < 2; ++index) {
        m_command2.at(index)->setEnabled(false); // until a route is set
        connect(m_command2.at(index), &QPushButton::clicked, this, [this, index] { Command2_Click(index); });
    }
    m_check1 = new QCheckBox(QStringLiteral("表示消去"), this);
    m_check1->setObjectName("Check1");
    m_check1->setGeometry(fromTwips(4275, 1650, 990, 270));
    m_check1->setEnabled(false);
    connect(m_check1, &QCheckBox::clicked, this, &frmCtl::Check1_Click);
}

void frmCtl::createTapeGroup()
{
    m_grpM_Tape = makeFrame(this, "grpM_Tape", QString(), fromTwips(2040, 630, 2175, 810));
    m_cmdTapeBack = makeButton(m_grpM_Tape, "cmdTapeBack", QStringLiteral("戻し"), fromTwips(90, 300, 540, 420), Green);
    m_cmdTapeNext = makeButton(m_grpM_Tape, "cmdTapeNext", QStringLiteral("送り"), fromTwips(660, 300, 540, 420), Green);
    m_cmdTapeStop = makeButton(m_grpM_Tape, "cmdTapeStop", QStringLiteral("■"), fromTwips(1230, 300, 390, 420));
    m_cmdTapeSet = makeButton(m_grpM_Tape, "cmdTapeSet", QStringLiteral("調整"), fromTwips(1650, 300, 450, 420));
    m_cmdTapeStop->setAccessibleName(QStringLiteral("停止"));
    connect(m_cmdTapeBack, &QPushButton::clicked, this, &frmCtl::cmdTapeBack_Click);
    connect(m_cmdTapeNext, &QPushButton::clicked, this, &frmCtl::cmdTapeNext_Click);
    connect(m_cmdTapeStop, &QPushButton::clicked, this, &frmCtl::cmdTapeStop_Click);
    connect(m_cmdTapeSet, &QPushButton::clicked, this, &frmCtl::cmdTapeSet_Click);

    connect(m_tape.get(), &mdlM_Tape::groupChanged, this, &frmCtl::showTapeGroup);
    showTapeGroup();
}

void frmCtl::createSliderFrame()
{
    m_frame6 = makeFrame(this, "Frame6", QString(), fromTwips(2040, 1455, 2175, 1095));
    m_frame6->setAccessibleName(QStringLiteral("表示設定"));
    m_check2 = new QCheckBox(QStringLiteral("深夜料金"), m_frame6);
    m_check2->setObjectName("Check2");
    m_check2->setGeometry(fromTwips(90, 75, 1200, 270));

    struct Slider { const char *caption; int maximum; int minimum; int designValue; };
    const std::array<Slider, 2> sliders = {{{"ｽｸﾛｰﾙ速度", 2000, 1, 1}, {"ｽｸﾛｰﾙ間隔", 3000, 0, 0}}};
    for (int index = 0; index < 2; ++index) {
        const Slider &slider = sliders.at(index);
        const int top = 420 + index * 330;
        const QString caption = QString::fromUtf8(slider.caption);
        makeLabel(m_frame6, qPrintable(QStringLiteral("Label3(%1)").arg(index)), caption, fromTwips(90, top, 780, 270));
        auto *bar = new QScrollBar(Qt::Horizontal, m_frame6);
        bar->setObjectName(QStringLiteral("HScroll1(%1)").arg(index));
        bar->setAccessibleName(caption);
        bar->setGeometry(fromTwips(870, top + 15, 780, 240));
        // The largest value sits at the left end.
        bar->setRange(slider.minimum, slider.maximum);
        bar->setInvertedAppearance(true);
        bar->setInvertedControls(true);
        bar->setSingleStep(1);
        bar->setPageStep(std::max(1, slider.maximum / 20));
        bar->setValue(slider.designValue);
        m_hScroll1.at(index) = bar;
        m_label1.at(index) = makeLabel(m_frame6, qPrintable(QStringLiteral("Label1(%1)").arg(index)),
                                       QString::number(slider.designValue), fromTwips(1680, top, 450, 270), ValueOrange);
        m_label1.at(index)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(bar, &QScrollBar::valueChanged, this, [this, index] { HScroll1_Change(index); });
    }
}

void frmCtl::createBacklightFrame()
{
    m_frame2 = makeFrame(this, "Frame2", QStringLiteral("バックライト"), fromTwips(4275, 630, 960, 990));
    const std::array<const char *, 3> captions = {"OFF", "ON1", "ON2"};
    for (int index = 0; index < 3; ++index) {
        auto *option = new QRadioButton(QString::fromLatin1(captions.at(index)), m_frame2);
        option->setObjectName(QStringLiteral("Option4(%1)").arg(index));
        option->setGeometry(fromTwips(90, 270 + index * 225, 840, 225));
        connect(option, &QRadioButton::clicked, this, [this, index] { Option4_Click(index); });
        m_option4.at(index) = option;
    }
    m_option4.at(0)->setChecked(true);

    m_command4 = makeButton(this, "Command4", QStringLiteral("設定..."), fromTwips(4275, 1950, 960, 285));
    connect(m_command4, &QPushButton::clicked, this, &frmCtl::Command4_Click);
    m_command8 = makeButton(this, "Command8", QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), fromTwips(4275, 2265, 960, 285));
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
        "QCheckBox { color: black; background: #e0e0e0; border: 1px solid #707070; border-radius: 3px; padding-left: 3px; }"
        "QCheckBox::indicator { width: 0px; height: 0px; }"));
    connect(m_check4, &QCheckBox::toggled, this, &frmCtl::Check4_Click);

    m_label4 = makeLabel(this, "Label4", QStringLiteral("整理券プレビュー"), fromTwips(5370, 135, 2000, 240));
    m_picSeirikenPrev = new SeirikenPreview(this);
    m_picSeirikenPrev->setGeometry(fromTwips(5415, 390, 3300, 1395));
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
    const std::array<Binding, 5> bindings = {{{Qt::Key_F5, m_command2.at(0)},
                                              {Qt::Key_F6, m_command2.at(1)},
                                              {Qt::Key_F7, m_cmdTapeBack},
                                              {Qt::Key_F8, m_cmdTapeNext},
                                              {Qt::Key_F9, m_cmdTapeStop}}};
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

// ---------------------------------------------------------------------------
// Start and end

void frmCtl::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

void frmCtl::Form_Load()
{
    // The display window's caption names the model: the program file's name.
    m_display.setWindowTitle(QStringLiteral("Tavelo - 型番:") + programName());
    for (PanelButton *key : m_commandButton1) {
        key->setKeyShape();
    }
    m_tape->InitSpeech();
}

bool frmCtl::requestEnd()
{
    const auto answer = QMessageBox::question(this, QStringLiteral("Taveloの終了確認"),
                                              QStringLiteral("Taveloを終了しますか？"),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        return false;
    }
    runEndSequence();
    return true;
}

void frmCtl::runEndSequence()
{
    m_display.ChimeiCtl()->SetChimei(QString());
    m_display.DeleteRgn();
    if (m_services.multimedia) {
        mdlSndAPI(*m_services.multimedia).CloseAllSnd();
    }
    m_tape->ReleaseSpeech();
    m_display.SaveIni();
    emit quitRequested();
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
// Route setting

void frmCtl::Command1_Click(int Index)
{
    const frmOption *opts = options();
    const QString fareFolder = RouteSetting::withSeparator(opts ? opts->Text2(0)->text() : QString());
    const QString tapeFolder = RouteSetting::withSeparator(opts ? opts->Text2(1)->text() : QString());
    // The route-setting sound plays even when the setting then fails.
    playSound(soundFile(0), "S1", false);

    const RouteRequest request = Index == 1 ? RouteSetting::request(m_keypad.routeText(), m_keypad.sectionText())
                                            : RouteSetting::request(listRouteText(), listSectionText());
    m_tape->LoadTape(tapeFolder, request.routeNumber);
    const RouteLoadResult result = m_route.load(request, RouteSetting::fareFilePath(fareFolder, request.routeNumber));
    if (!result.ok) {
        showRouteMessage(result.message);
        return;
    }
    m_display.ChimeiCtl()->SetChimei(QStringLiteral("系統選別中"));
    runLampTest();
    for (int a = 1; a <= Cells; ++a) {
        m_display.Degit(a)->setValue(0);
    }
    for (QWidget *control : {static_cast<QWidget *>(m_command2.at(0)), static_cast<QWidget *>(m_command2.at(1)),
                             static_cast<QWidget *>(m_check1)}) {
        control->setEnabled(true);
    }
    m_route.setHeldDate(heldDateFromOptions());
    DispData(m_route.currentStop());
}

QString frmCtl::listRouteText() const
{
    std::vector<int> digits;
    for (const QListWidget *list : m_list2) {
        digits.push_back(list->currentItem() && list->currentItem()->isSelected() ? list->currentRow() : -1);
    }
    return RouteSetting::listText(digits);
}

QString frmCtl::listSectionText() const
{
    std::vector<int> digits;
    for (const QListWidget *list : m_list3) {
        digits.push_back(list->currentItem() && list->currentItem()->isSelected() ? list->currentRow() : -1);
    }
    return RouteSetting::listText(digits);
}

void frmCtl::showRouteMessage(const QString &text)
{
    // A plain OK box: no icon and no title of its own.
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, this);
    box.exec();
}

void frmCtl::runLampTest()
{
    for (int a = 1; a <= Cells; ++a) {
        m_display.Degit(a)->ResetDegit(true);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (m_services.multimedia) {
        // The platform's wait holds the operator's input, not the painting.
        m_services.multimedia->sleep(LampTestMs);
    } else {
        QEventLoop wait;
        QTimer::singleShot(LampTestMs, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

QString frmCtl::heldDateFromOptions() const
{
    const frmOption *opts = options();
    if (opts && opts->Option4(2)->isChecked()) {
        return opts->Label10()->text();
    }
    return FareBoard::dateText(QDate::currentDate());
}

// ---------------------------------------------------------------------------
// The board at a stop

void frmCtl::DispData(int n)
{
    const frmOption *opts = options();
    FareDisplayOptions displayOptions;
    if (opts) {
        displayOptions = PanelOptions::fareDisplay(*opts, m_check2->isChecked());
    } else {
        displayOptions.lateNight = m_check2->isChecked();
    }
    const StopView view = FareBoard::compute(m_route, n, displayOptions, QDateTime::currentDateTime());
    if (!view.valid) {
        return; // a stop outside the filled slots shows nothing
    }
    for (int a = 1; a <= Cells; ++a) {
        const CellValue &cell = view.cells.at(a);
        if (const auto *number = std::get_if<qint32>(&cell)) {
            m_display.Degit(a)->setValue(*number);
        } else if (const auto *text = std::get_if<QString>(&cell)) {
            m_display.Degit(a)->setValue(*text);
        }
    }
    m_picSeirikenPrev->clear();
    if (opts && opts->chkUseSeiriPrev()->isChecked()) {
        TicketRequest request = view.ticket;
        request.pluginPath = opts->txtSeiriPlgDir()->text();
        request.companyIndex = m_combo1->currentIndex();
        drawSeiriken(request);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // Last: a scrolling name keeps the strip busy until the next name.
    m_display.ChimeiCtl()->SetChimei(view.stopName);
}

void frmCtl::drawSeiriken(const TicketRequest &request)
{
    const qint32 drawn = PluginBridge::Brix4_DrawSeiriken(
        request.pluginPath, &m_picSeirikenPrev->image(), request.stopName, request.dateText, request.timeText,
        request.routeNumber, request.ticketNumber, request.stopPosition, request.companyIndex);
    // The picture is painted; say what it shows.
    if (drawn != 0) {
        m_picSeirikenPrev->setAccessibleDescription(
            QStringLiteral("整理券 %1番 %2").arg(request.ticketNumber).arg(request.stopName));
    }
    m_picSeirikenPrev->update();
}

// ---------------------------------------------------------------------------
// Stepping and announcements

void frmCtl::Command2_Click(int Index)
{
    const bool moved = Index == 0 ? m_route.stepBack() : m_route.stepForward();
    if (!moved) {
        return; // at the first or the last stop nothing happens, not even a sound
    }
    if (const frmOption *opts = options()) {
        const QString file
            = SteppingSound::fileFor(m_route, m_route.currentStop(), PanelOptions::steppingSound(*opts));
        // With the waiting option the fares change only after the sound.
        playSound(file, "S2", PanelOptions::waitsForSteppingSound(*opts));
    }
    DispData(m_route.currentStop());
}

void frmCtl::showTapeGroup()
{
    m_grpM_Tape->setTitle(m_tape->groupCaption());
    m_grpM_Tape->setEnabled(m_tape->groupEnabled() && !m_check1->isChecked());
    for (QPushButton *button : {m_cmdTapeBack, m_cmdTapeNext, m_cmdTapeStop, m_cmdTapeSet}) {
        button->setEnabled(m_tape->buttonsEnabled());
    }
}

TapeOptions frmCtl::tapeOptions() const
{
    TapeOptions tape;
    if (const frmOption *opts = options()) {
        tape.soundAlways = opts->Option2(2)->isChecked();
        tape.alwaysSound = opts->txtSelectSound(3)->text();
        for (int flag = 0; flag < 3; ++flag) {
            tape.flagSounds.at(flag) = opts->txtSelectSound(4 + flag)->text();
        }
        tape.waitForSound = opts->Option7(0)->isChecked();
    }
    return tape;
}

void frmCtl::cmdTapeNext_Click()
{
    m_tape->TapeNext();
    if (m_tape->GetTapeStepFlag(m_tape->GetTapePos()) == 1) {
        emit dataStepRequested(1);
    }
}

void frmCtl::cmdTapeBack_Click()
{
    m_tape->TapeBack();
    if (m_tape->GetTapeStepFlag(m_tape->GetTapePos()) == 1) {
        emit dataStepRequested(0);
    }
}

void frmCtl::cmdTapeStop_Click()
{
    m_tape->StopTape();
}

void frmCtl::cmdTapeSet_Click()
{
    m_tape->ShowVoiceDialog(this);
}

// ---------------------------------------------------------------------------
// Keypad and input frames

void frmCtl::CommandButton1_Click(int Index)
{
    playSound(soundFile(1), "S1", false);
    m_keypad.press(Index);
    showKeypadDisplays();
}

void frmCtl::showKeypadDisplays()
{
    m_label2.at(0)->setText(m_keypad.routeText());
    m_label2.at(2)->setText(m_keypad.sectionText());
    // The LED windows report what they show.
    m_label2.at(0)->setAccessibleName(QStringLiteral("系統 ") + m_keypad.routeText());
    m_label2.at(2)->setAccessibleName(QStringLiteral("区間 ") + m_keypad.sectionText());
}

void frmCtl::Frame1_DblClick(int Index)
{
    m_inputFrame = static_cast<qint16>(Index);
    m_frame1.at(Index)->lower();
}

bool frmCtl::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int index = 0; index < 2; ++index) {
            if (watched == m_frame1.at(index)) {
                Frame1_DblClick(index);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Clear display, sliders, backlight

void frmCtl::Check1_Click()
{
    const bool cleared = m_check1->isChecked();
    if (cleared) {
        m_display.ChimeiCtl()->SetChimei(QString());
        for (int a = 1; a <= Cells; ++a) {
            m_display.Degit(a)->ResetDegit(false);
        }
        m_display.Timer1().stop();
        for (int i = 0; i < 2; ++i) {
            m_display.TimeDegit(i)->setValue(QString());
        }
    } else if (!m_display.TimeDegit(0)->isHidden()) {
        m_display.Timer1().start();
    }
    setEntryEnabled(!cleared);
    m_grpM_Tape->setEnabled(!cleared && m_tape->SpeechAvailable());
    if (!cleared) {
        DispData(m_route.currentStop());
    }
}

void frmCtl::setEntryEnabled(bool enabled)
{
    for (QWidget *control : {static_cast<QWidget *>(m_frame1.at(0)), static_cast<QWidget *>(m_frame1.at(1)),
                             static_cast<QWidget *>(m_command2.at(0)), static_cast<QWidget *>(m_command2.at(1)),
                             static_cast<QWidget *>(m_frame6)}) {
        control->setEnabled(enabled);
    }
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
    for (int index = 0; index < 3; ++index) {
        if (m_option4.at(index)->isChecked()) {
            return index;
        }
    }
    return 0;
}

void frmCtl::Option4_Click(int Index)
{
    frmOption *opts = options();
    if (!opts) {
        return;
    }
    if (!opts->usesUserPanel(Index)) {
        m_display.setPicture(m_display.imgRes(Index));
    } else if (const QString file = opts->txtSelectPanel(Index)->text(); QFileInfo(file).isFile()) {
        // A missing file leaves the picture as it is, without a word.
        QImageReader reader(file);
        const QImage image = reader.read();
        if (image.isNull()) {
            const int errorNumber = reader.error() == QImageReader::FileNotFoundError ? 53
                : reader.error() == QImageReader::DeviceError                       ? 57
                                                                                    : 481;
            showPictureError(errorNumber);
        } else {
            // A larger picture is cut at the right and bottom; a smaller one
            // sits at the top left on grey.
            QPixmap panel(m_display.size());
            panel.fill(QColor(0xC0, 0xC0, 0xC0));
            QPainter(&panel).drawImage(0, 0, image);
            m_display.setPicture(panel);
        }
    }
    m_display.setLabelColor(opts->Command5(Index)->color());
}

void frmCtl::showPictureError(int errorNumber)
{
    ErrorReport::show(this, ErrorReport::panelPictureText(errorNumber), QStringLiteral("エラー"));
}

// ---------------------------------------------------------------------------
// Options, About, preview

void frmCtl::Command4_Click()
{
    frmOption *opts = options();
    if (!opts) {
        return;
    }
    m_display.setEnabled(false);
    setEnabled(false);
    opts->exec();
    m_display.setEnabled(true);
    setEnabled(true);
    showCurrentStopName();
}

void frmCtl::showCurrentStopName()
{
    // Blank first: a changed look of the strip takes effect with the next name.
    m_display.ChimeiCtl()->SetChimei(QString());
    if (m_route.hasRoute()) {
        m_display.ChimeiCtl()->SetChimei(m_route.table().slot(m_route.currentStop()).name);
    }
}

QString frmCtl::aboutText()
{
    return QStringLiteral("型番：") + programName() + QStringLiteral("\r\n")
        + QStringLiteral("バージョン：4.0.0\r\n")
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
    setFixedWidth(open ? PreviewOpenWidth : DesignSize.width());
    m_check4->setText(open ? QStringLiteral("<<") : QStringLiteral(">>"));
    m_check4->setToolTip(open ? QStringLiteral("整理券プレビューを隠します") : QStringLiteral("整理券プレビューを開きます"));
}

// ---------------------------------------------------------------------------
// The settings file's record

CtrlDataInfo frmCtl::GetCtrlDataInfo() const
{
    CtrlDataInfo info;
    info.InputFrame = m_inputFrame;
    info.ScrollSpeed = m_hScroll1.at(0)->value();
    info.ScrollStartWait = m_hScroll1.at(1)->value();
    info.LateNight = m_check2->isChecked() ? 1 : 0;
    info.PreviewOpen = m_check4->isChecked() ? 1 : 0;
    info.Left = BoardLayout::roundTwips(pos().x() * double(BoardLayout::TwipsPerPixel));
    info.Top = BoardLayout::roundTwips(pos().y() * double(BoardLayout::TwipsPerPixel));
    return info;
}

void frmCtl::SetCtrlDataInfo(const CtrlDataInfo &info)
{
    move(info.Left / BoardLayout::TwipsPerPixel, info.Top / BoardLayout::TwipsPerPixel);
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

frmOption *frmCtl::options() const
{
    return m_display.optionsDialog();
}

QString frmCtl::soundFile(int index) const
{
    const frmOption *opts = options();
    return opts ? opts->txtSelectSound(index)->text() : QString();
}

void frmCtl::playSound(const QString &file, const char *channel, bool wait)
{
    if (m_services.multimedia) {
        mdlSndAPI(*m_services.multimedia).PlaySnd(file, QLatin1String(channel), wait, 0);
    }
}
