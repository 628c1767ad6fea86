#include "FakeCompanion.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "windows/Form1.h"
#include "windows/mdlR57_000.h"
#include "windows/frmCtl.h"
#include "settings/ColorButton.h"
#include "settings/LookPreset.h"
#include "settings/PageTabButton.h"
#include "windows/frmOption.h"
#include "settings/OptionsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <memory>

// Stands in for the desktop's file manager.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

// A display window after the panel start-up, with its options dialog.
struct StartedDisplay
{
    FakeCompanion companion;
    PlatformServices services{&companion};
    Form1 display{services};

    StartedDisplay() { display.panelModule().InitPanel(); }
    frmOption &options() { return *display.optionsDialog(); }
};

class tst_frmOption : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_started = std::make_unique<StartedDisplay>(); }
    void cleanup() { m_started.reset(); }

    void firstRunValues();
    void listContents();
    void pageTabsBringTheirFrameToFront();
    void dependentControlsFollowTheirGovernors();
    void folderChooserAndOpeningTheFolder();
    void fileChoosersKeepTheOldPathWhenCancelled();
    void pathOutsideShiftJisIsRefusedWhereItIsEntered();
    void colourChooserSharesTheCustomColours();
    void dateChooser();
    void recordRoundTripsThroughTheControls();
    void recordFollowersFollow();
    void lookPresetsSetOnlyTheLookColours();
    void refusedValueStopsTheCopy_data();
    void refusedValueStopsTheCopy();
    void closingOnlyHides();
    void controlPanelOpensTheDialogModally();

private:
    frmOption &options() { return m_started->options(); }
    OptionsStore &store() { return m_started->display.options(); }
    FakeCompanion &companion() { return m_started->companion; }

    std::unique_ptr<StartedDisplay> m_started;
};

void tst_frmOption::firstRunValues()
{
    const QMap<QString, QVariant> expected = {
        {"FareDataDir", QString()},        {"TapeDataDir", QString()},
        {"AutoSeiriNum", 1},               {"SeiriColorOff", 0xFFFFFFu},
        {"SeiriColorOn1", 0xC0FFC0u},      {"SeiriColorOn2", 0x80C0FFu},
        {"SeiriNumStyle", 0},              {"SeiriZeroPad", 0},
        {"PanelAuto", -1},                 {"PanelCustom", 0},
        {"PanelOffBuiltIn", -1},           {"PanelOffUser", 0},
        {"PanelOn1BuiltIn", -1},           {"PanelOn1User", 0},
        {"PanelOn2BuiltIn", -1},           {"PanelOn2User", 0},
        {"PanelOffFile", QString()},       {"PanelOn1File", QString()},
        {"PanelOn2File", QString()},       {"DegitBackColor", 0x808080u},
        {"DegitBaseColor", 0x969696u},     {"DegitLitColor", 0x72D2F8u},
        {"InfoStopOn", 0},                 {"InfoStopCell", 0},
        {"InfoStopFromZero", 0},           {"InfoSeiriOn", 0},
        {"InfoSeiriCell", 0},              {"InfoRouteOn", 0},
        {"InfoRouteCell", 0},              {"InfoDataOn", 0},
        {"InfoDataColumn", 0},             {"InfoDataCell", 0},
        {"ChimeiBackColor", 0x808080u},    {"ChimeiForeColor", 0x00FFFFu},
        {"ChimeiFontMode", -1},            {"ChimeiBold", 0},
        {"SndRouteSet", QString()},        {"SndReset", QString()},
        {"StepSndAlways", -1},             {"StepSndByColumn", 0},
        {"StepSndSync", 0},                {"StepSndAsync", -1},
        {"StepSndFile", QString()},        {"StepSndColumn", 0},
        {"StepSnd1", QString()},           {"StepSnd2", QString()},
        {"StepSnd3", QString()},           {"TapeSndAlways", -1},
        {"TapeSndByFlag", 0},              {"TapeSndSync", -1},
        {"TapeSndAsync", 0},               {"TapeSndFile", QString()},
        {"TapeSnd1", QString()},           {"TapeSnd2", QString()},
        {"TapeSnd3", QString()},           {"UseSeiriPrev", 0},
        {"PluginPath", QString()},         {"DateAtPrint", -1},
        {"DateAtRouteSet", 0},             {"DateFixed", 0},
        {"FixedDate", QDate::currentDate().toString("yyyy/MM/dd")},
    };
    const OptionInfo info = options().GetOptionInfo();
    QStringList mismatches;
    int visited = 0;
    OptionInfo::visit(info, [&](const char *name, const auto &field) {
        ++visited;
        if (!expected.contains(QString::fromLatin1(name))) {
            mismatches << QStringLiteral("%1 has no expected value").arg(name);
        }
        const QVariant actual = QVariant::fromValue(field);
        const QVariant wanted = expected.value(QString::fromLatin1(name));
        // Compare as text so that qint16, int and quint32 meet on equal terms.
        if (actual.toString() != wanted.toString()) {
            mismatches << QStringLiteral("%1: %2, expected %3").arg(name, actual.toString(), wanted.toString());
        }
    });
    QCOMPARE(visited, expected.size());
    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join("; ")));
}

void tst_frmOption::listContents()
{
    QComboBox *styles = options().Combo2();
    QCOMPARE(styles->count(), 12);
    QCOMPARE(styles->itemText(0), QStringLiteral("1,2,3... 98 （既定の表示）"));
    QCOMPARE(styles->itemText(1), QStringLiteral("0,1,2... 97"));
    QCOMPARE(styles->itemText(2), QStringLiteral("「なし」、1,2... 97"));
    QCOMPARE(styles->itemText(11), QStringLiteral("(無地)、2,3... 98"));
    // Styles that number from 2 on end at 98, those from 0 or 1 at 97.
    for (int style = 1; style < 12; ++style) {
        const bool fromTwo = style >= 3 && style % 2 == 1;
        QVERIFY2(styles->itemText(style).endsWith(fromTwo ? " 98" : " 97"), qPrintable(styles->itemText(style)));
    }

    QComboBox *faces = options().Combo3();
    QCOMPARE(faces->count(), 5);
    QCOMPARE(faces->itemText(2), QStringLiteral("漢字はゴシック、それ以外は明朝"));
    QCOMPARE(faces->currentIndex(), -1);
    QCOMPARE(faces->currentText(), QString());

    for (int i = 0; i < 4; ++i) {
        QCOMPARE(options().Combo4(i)->count(), 98);
        QCOMPARE(options().Combo4(i)->itemText(97), QStringLiteral("98"));
    }
    for (QComboBox *columns : {options().Combo4(4), options().Combo1()}) {
        QCOMPARE(columns->count(), 150);
        QCOMPARE(columns->itemText(0), QStringLiteral("1"));
        QCOMPARE(columns->itemText(149), QStringLiteral("150"));
    }
}

void tst_frmOption::pageTabsBringTheirFrameToFront()
{
    auto *pages = options().findChild<QStackedWidget *>("pages");
    QCOMPARE(pages->currentWidget(), options().Frame1(0));
    options().Option1(5)->click();
    QCOMPARE(pages->currentWidget(), options().Frame1(5));
    QVERIFY(!options().Option1(0)->isChecked());

    auto *soundPages = options().findChild<QStackedWidget *>("soundPages");
    QCOMPARE(soundPages->currentWidget(), options().Frame2(1));
    options().Option5(0)->click();
    QCOMPARE(soundPages->currentWidget(), options().Frame2(0));
}

void tst_frmOption::dependentControlsFollowTheirGovernors()
{
    frmOption &o = options();
    // Start states: the panel start-up ticked Check1; everything else is off.
    QVERIFY(o.Frame3()->isEnabled());
    for (int i = 0; i < 5; ++i) {
        QVERIFY(!o.Combo4(i)->isEnabled());
    }
    QVERIFY(!o.Check3(4)->isEnabled());
    for (QGroupBox *frame : {o.Frame6(0), o.Frame6(1), o.Frame6(2), o.Frame10(), o.Frame7()}) {
        QVERIFY(frame->isHidden());
        QVERIFY(!frame->isEnabled());
    }

    // Each toggle of a governing box switches its followers, both ways.
    o.Check3(3)->click();
    QVERIFY(o.Combo4(3)->isEnabled() && o.Combo4(4)->isEnabled());
    QVERIFY(!o.Combo4(0)->isEnabled());
    o.Check3(3)->click();
    QVERIFY(!o.Combo4(3)->isEnabled() && !o.Combo4(4)->isEnabled());
    o.Check3(0)->click();
    QVERIFY(o.Combo4(0)->isEnabled() && o.Check3(4)->isEnabled());
    o.Check3(1)->click();
    o.Check3(2)->click();
    QVERIFY(o.Combo4(1)->isEnabled() && o.Combo4(2)->isEnabled());
    o.Check1()->click();
    QVERIFY(!o.Frame3()->isEnabled());
    o.Check1()->click();
    QVERIFY(o.Frame3()->isEnabled());

    o.Option3(1)->click();
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!o.Frame6(i)->isHidden() && o.Frame6(i)->isEnabled());
    }
    o.Option3(0)->click();
    QVERIFY(o.Frame6(0)->isHidden() && !o.Frame6(0)->isEnabled());

    o.chkUseSeiriPrev()->click();
    QVERIFY(!o.Frame10()->isHidden() && o.Frame10()->isEnabled());
    QVERIFY(!o.Frame7()->isHidden() && o.Frame7()->isEnabled());
    o.chkUseSeiriPrev()->click();
    QVERIFY(o.Frame10()->isHidden() && o.Frame7()->isHidden());
}

void tst_frmOption::folderChooserAndOpeningTheFolder()
{
    frmOption &o = options();
    o.Text2(0)->setText("/old/fares");
    companion().folderAnswer.clear();
    o.Command3(0)->click();
    QCOMPARE(companion().calls.last(), QStringLiteral("Brix3FolderDlg title=フォルダーを選択してください"));
    QCOMPARE(o.Text2(0)->text(), QStringLiteral("/old/fares"));
    companion().folderAnswer = "/data/fares";
    o.Command3(0)->click();
    QCOMPARE(o.Text2(0)->text(), QStringLiteral("/data/fares"));

    UrlCatcher desktop;
    QDesktopServices::setUrlHandler("file", &desktop, "open");
    o.Command10(0)->click();
    o.Command10(1)->click(); // empty folder: nothing to show, nothing happens
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile("/data/fares")});
}

void tst_frmOption::fileChoosersKeepTheOldPathWhenCancelled()
{
    frmOption &o = options();
    companion().fileAnswer = "/snd/step.wav";
    o.cmdSelectSound(7)->click();
    QCOMPARE(o.txtSelectSound(7)->text(), QStringLiteral("/snd/step.wav"));
    QCOMPARE(companion().calls.last(), QStringLiteral("Brix3FileDlg title=サウンドの選択"));
    QCOMPARE(companion().lastFilter,
             QStringLiteral("Waveサウンド(*.wav)\0*.wav\0MP3サウンド(*.mp3)\0*.mp3\0MIDIシーケンス(*.mid)\0*.mid\0\0"));
    companion().fileAnswer.clear();
    o.cmdSelectSound(7)->click();
    QCOMPARE(o.txtSelectSound(7)->text(), QStringLiteral("/snd/step.wav"));

    o.Option3(1)->click(); // the picture frames are usable only when chosen per state
    companion().fileAnswer = "/pic/on1.bmp";
    o.Command6(1)->click();
    QCOMPARE(o.txtSelectPanel(1)->text(), QStringLiteral("/pic/on1.bmp"));
    QCOMPARE(companion().calls.last(), QStringLiteral("Brix3FileDlg title=パネル画像の選択"));
    QCOMPARE(companion().lastFilter,
             QStringLiteral("ビットマップ(*.bmp)\0*.bmp\0GIF画像(*.gif)\0*.gif\0JPEG画像(*.jpg)\0*.jpg\0\0"));
    companion().fileAnswer.clear();
    o.Command6(1)->click();
    QCOMPARE(o.txtSelectPanel(1)->text(), QStringLiteral("/pic/on1.bmp"));
}

void tst_frmOption::pathOutsideShiftJisIsRefusedWhereItIsEntered()
{
    frmOption &o = options();
    QStringList boxes;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&boxes] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            boxes << box->text();
            box->close();
        }
    });
    closer.start(5);
    const QString zoe = QStringLiteral("/home/zoë/fares");

    // Chosen: every chooser keeps the path it had and says why.
    o.Text2(0)->setText("/old/fares");
    companion().folderAnswer = zoe;
    o.Command3(0)->click();
    QCOMPARE(o.Text2(0)->text(), QStringLiteral("/old/fares"));
    companion().fileAnswer = zoe + ".wav";
    o.cmdSelectSound(3)->click();
    QCOMPARE(o.txtSelectSound(3)->text(), QString());
    o.Option3(1)->click();
    o.Command6(2)->click();
    QCOMPARE(o.txtSelectPanel(2)->text(), QString());
    o.chkUseSeiriPrev()->click();
    o.Command1()->click();
    QCOMPARE(o.txtSeiriPlgDir()->text(), QString());
    QCOMPARE(boxes.size(), 4);
    for (const QString &text : std::as_const(boxes)) {
        QVERIFY2(text.contains(QStringLiteral("「ë」(U+00EB)")), qPrintable(text));
    }

    // Typed or pasted: the character does not go in, and the box names it once.
    boxes.clear();
    QTest::keyClicks(o.Text2(1), QStringLiteral("zo"));
    QTest::sendKeyEvent(QTest::Click, o.Text2(1), Qt::Key_unknown, QStringLiteral("ë"), Qt::NoModifier);
    QCOMPARE(o.Text2(1)->text(), QStringLiteral("zo"));
    QTRY_COMPARE(boxes.size(), 1);
    QVERIFY2(boxes[0].contains(QStringLiteral("「ë」(U+00EB)")), qPrintable(boxes[0]));
    o.txtSelectSound(10)->insert(QStringLiteral("/snd/😀.wav"));
    QCOMPARE(o.txtSelectSound(10)->text(), QString());
    QTRY_COMPARE(boxes.size(), 2);
    QVERIFY2(boxes[1].contains(QStringLiteral("U+1F600")), qPrintable(boxes[1]));
    o.Text2(1)->insert(QStringLiteral("/運賃"));
    QCOMPARE(o.Text2(1)->text(), QStringLiteral("zo/運賃"));
}

void tst_frmOption::colourChooserSharesTheCustomColours()
{
    frmOption &o = options();
    o.customColors()[16] = 0x123456;
    companion().colorResult = 0;
    companion().colorAnswer = 0x0000FF;
    o.Command8(2)->click();
    QCOMPARE(companion().calls.last(), QStringLiteral("Brix3ChooseColor color=72d2f8"));
    QCOMPARE(companion().lastCustomColors[16], 0x123456u);
    QCOMPARE(o.Command8(2)->color(), 0x72D2F8u);

    companion().colorResult = 1;
    o.Command8(2)->click();
    QCOMPARE(o.Command8(2)->color(), 0x0000FFu);
    // The preview cell takes the digit colours at once; the display does not.
    QCOMPARE(o.M_Degit1()->degitForeColor(), 0x0000FFu);
    QCOMPARE(o.M_Degit1()->backColor(), 0x808080u);
    QVERIFY(!o.M_Degit1()->userSet());
    QCOMPARE(m_started->display.Degit(1)->degitForeColor(), 0x72D2F8u);

    o.Command9(1)->click();
    QCOMPARE(o.Command9(1)->color(), 0x0000FFu);
}

void tst_frmOption::dateChooser()
{
    frmOption &o = options();
    o.chkUseSeiriPrev()->click(); // the date frame is usable only with the preview
    o.Label10()->setText("2025/01/01");
    companion().dlg111Result = 0;
    o.Command7()->click();
    QCOMPARE(o.Label10()->text(), QStringLiteral("2025/01/01"));

    companion().dlg111Result = 1;
    companion().dlg111Date.wYear = 2026;
    companion().dlg111Date.wMonth = 3;
    companion().dlg111Date.wDay = 5;
    o.Command7()->click();
    QCOMPARE(o.Label10()->text(), QStringLiteral("2026/03/05"));
}

// A record in which every field differs from the first run.
static OptionInfo changedRecord()
{
    OptionInfo info;
    info.Folder = {"/fares", "/tapes"};
    info.Panel = {0, 0x111111, 0x222222, 0x333333, 11, 1, 0, -1, 0, -1, 0, -1, 0, -1, "/p/off.bmp", "/p/on1.gif",
                  "/p/on2.jpg"};
    info.Degit = {0x010101, 0x020202, 0x030303, 1, 97, 1, 1, 5, 1, 6, 1, 149, 7};
    info.Chimei = {0x040404, 0x050505, 4, 1};
    info.Sound = {"/s/route.wav", "/s/reset.wav", 0,        -1,           -1,           0,   "/s/step.wav",
                  42,             "/s/1.wav",     "/s/2.wav", "/s/3.wav", 0,            -1,  0,
                  -1,             "/s/tape.wav",  "/s/t1.wav", "/s/t2.wav", "/s/t3.wav"};
    info.Seiriken = {1, "/plug/ticket.4SP", 0, 0, -1, "2026/03/05"};
    return info;
}

void tst_frmOption::recordRoundTripsThroughTheControls()
{
    const OptionInfo changed = changedRecord();
    QVERIFY(!store().assign(changed).has_value());
    QCOMPARE(options().GetOptionInfo(), changed);
}

void tst_frmOption::lookPresetsSetOnlyTheLookColours()
{
    frmOption &o = options();
    QVERIFY(!store().assign(changedRecord()).has_value());
    const QList<LookPreset> &presets = LookPreset::all();
    for (int i = 0; i < presets.size(); ++i) {
        const LookPreset &preset = presets[i];
        OptionInfo expected = o.GetOptionInfo();
        preset.applyTo(expected);
        QCOMPARE(o.cmdLookPreset(i)->accessibleName(), preset.caption);
        o.cmdLookPreset(i)->click();
        // Every other option, the face and the weight included, stays.
        QCOMPARE(o.GetOptionInfo(), expected);
        QCOMPARE(o.M_Degit1()->backColor(), preset.digitBack);
        QCOMPARE(o.M_Degit1()->baseForeColor(), preset.digitUnlit);
        QCOMPARE(o.M_Degit1()->degitForeColor(), preset.digitLit);
        QCOMPARE(o.ChimeiPreview()->backColor(), preset.stripBack);
        QCOMPARE(o.ChimeiPreview()->foreColor(), preset.stripFore);
        QCOMPARE(o.M_Degit1()->degitStyle(), preset.segmentStyle);
    }
    // The display wears the look only from OK on, every fare cell of it.
    Form1 &display = m_started->display;
    QCOMPARE(display.Degit(98)->baseForeColor(), 0x969696u);
    QVERIFY(display.Degit(98)->degitStyle() != presets.last().segmentStyle);
    o.Command4()->click();
    QCOMPARE(display.Degit(98)->baseForeColor(), presets.last().digitUnlit);
    QCOMPARE(display.ChimeiCtl()->foreColor(), presets.last().stripFore);
    for (int n = 1; n <= 98; ++n) {
        QCOMPARE(display.Degit(n)->degitStyle(), presets.last().segmentStyle);
    }
}

void tst_frmOption::recordFollowersFollow()
{
    frmOption &o = options();
    QVERIFY(!store().assign(changedRecord()).has_value());
    QVERIFY(!o.Frame3()->isEnabled());
    QVERIFY(o.Combo4(0)->isEnabled() && o.Check3(4)->isEnabled() && o.Combo4(4)->isEnabled());
    QVERIFY(!o.Frame6(2)->isHidden() && o.Frame6(2)->isEnabled());
    QVERIFY(!o.Frame7()->isHidden());
    QCOMPARE(o.M_Degit1()->backColor(), 0x010101u);
    QCOMPARE(o.M_Degit1()->baseForeColor(), 0x020202u);
    QCOMPARE(o.M_Degit1()->degitForeColor(), 0x030303u);
    // Applied, the stored look puts the OFF colour on the labels.
    o.SetProp();
    QCOMPARE(m_started->display.lblSeiriNum(1)->palette().color(QPalette::WindowText), QColor(0x11, 0x11, 0x11));

    // Back to the first run's choices: the followers return too.
    OptionInfo first = changedRecord();
    first.Panel.PanelAuto = -1;
    first.Panel.PanelCustom = 0;
    first.Degit.InfoStopOn = 0;
    QVERIFY(!store().assign(first).has_value());
    QVERIFY(o.Frame6(2)->isHidden());
    QVERIFY(!o.Combo4(0)->isEnabled() && !o.Check3(4)->isEnabled());
}

void tst_frmOption::refusedValueStopsTheCopy_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("control");
    enum Field { Style, Cell, Column, Face, StepColumn, Bold };
    QTest::newRow("style past the list") << int(Style) << 12 << "Combo2";
    QTest::newRow("cell past 98") << int(Cell) << 98 << "Combo4(1)";
    QTest::newRow("column past 150") << int(Column) << 150 << "Combo4(4)";
    QTest::newRow("face below nothing") << int(Face) << -2 << "Combo3";
    QTest::newRow("step column past 150") << int(StepColumn) << 150 << "Combo1";
    QTest::newRow("check box value 2") << int(Bold) << 2 << "Check4";
}

void tst_frmOption::refusedValueStopsTheCopy()
{
    QFETCH(int, field);
    QFETCH(int, value);
    QFETCH(QString, control);
    OptionInfo info = changedRecord();
    const auto v = static_cast<qint16>(value);
    qint16 *target[] = {&info.Panel.SeiriNumStyle, &info.Degit.InfoSeiriCell, &info.Degit.InfoDataColumn,
                        &info.Chimei.ChimeiFontMode, &info.Sound.StepSndColumn, &info.Chimei.ChimeiBold};
    *target[field] = v;

    const OptionResult result = store().assign(info);
    QVERIFY(result.has_value());
    QCOMPARE(result->number, 380);
    QVERIFY2(result->description.contains(control), qPrintable(result->description));
    // Fields before the refused one are in; the last field of the record is not.
    QCOMPARE(options().Text2(0)->text(), QStringLiteral("/fares"));
    QCOMPARE(options().txtSelectSound(6)->text(), QString());
    QCOMPARE(options().Label10()->text(), QDate::currentDate().toString("yyyy/MM/dd"));
}

void tst_frmOption::closingOnlyHides()
{
    QPointer<frmOption> dialog = &options();
    dialog->show();
    // Edits closed away are dropped: the options stay, the next opening shows them.
    dialog->Text2(0)->setText(QStringLiteral("/edited"));
    dialog->Option2(1)->setChecked(true);
    QVERIFY(dialog->close());
    QApplication::processEvents();
    QVERIFY(dialog);
    QVERIFY(dialog->isHidden());
    QCOMPARE(m_started->display.optionsDialog(), dialog.data());
    QCOMPARE(store().info().Folder.FareDataDir, QString());
    QCOMPARE(dialog->GetOptionInfo(), store().info());

    // OK hands them over, and the running bus reads them at once.
    dialog->Text2(0)->setText(QStringLiteral("/edited"));
    dialog->Command4()->click();
    QCOMPARE(store().info().Folder.FareDataDir, QStringLiteral("/edited"));
    QCOMPARE(m_started->display.operation().options().Folder.FareDataDir, QStringLiteral("/edited"));
}

void tst_frmOption::controlPanelOpensTheDialogModally()
{
    Form1 &display = m_started->display;
    frmCtl *controlPanel = display.controlPanel();
    auto *settings = controlPanel->findChild<QPushButton *>("Command4");
    QVERIFY(settings);
    QCOMPARE(settings->text(), QStringLiteral("設定..."));

    bool sawModal = false;
    QTimer::singleShot(0, this, [&] {
        sawModal = options().isVisible() && options().isModal() && !display.isEnabled() && !controlPanel->isEnabled();
        options().Check1()->setChecked(false);
        options().Command4()->click(); // OK
    });
    settings->click();

    QVERIFY(sawModal);
    QVERIFY(options().isHidden());
    QVERIFY(display.isEnabled() && controlPanel->isEnabled());
    // OK applied the options before the dialog went away.
    QVERIFY(display.lblSeiriNum(1)->isHidden());
}

QTEST_MAIN(tst_frmOption)
#include "tst_frmOption.moc"
