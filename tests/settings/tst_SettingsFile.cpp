#include "FakeCompanion.h"
#include "controls/M_Degit.h"
#include "display/ErrorReport.h"
#include "windows/Form1.h"
#include "display/JapaneseFonts.h"
#include "display/SingleInstanceGuard.h"
#include "windows/frmCtl.h"
#include "settings/ColorButton.h"
#include "settings/In4Format.h"
#include "settings/SettingsLocation.h"
#include "windows/frmOption.h"
#include "settings/mdlIniIo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <chrono>
#include <future>
#include <memory>

namespace {

// One run of the program's windows with its settings in a folder of its own.
struct Run
{
    FakeCompanion companion;
    SettingsLocation location;
    PlatformServices services;
    std::unique_ptr<Form1> display;

    explicit Run(const QString &programFolder)
        : location(programFolder + "/R57", programFolder + "/config", true)
    {
        services.companion = &companion;
        services.settings = &location;
        display = std::make_unique<Form1>(services);
    }
    frmOption &options() { return *display->optionsDialog(); }
    QString path() const { return location.savePath(); }
};

// Closes every message box that opens while it is alive and keeps their texts.
class BoxCatcher
{
public:
    BoxCatcher()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                notes << box->informativeText();
                box->close();
            }
        });
        m_timer.start(5);
    }
    QStringList texts;
    QStringList notes;

private:
    QTimer m_timer;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Block 9 (custom colours) starts this many bytes before the end of a file.
constexpr int ColorsFromEnd = 68 + 2 + 98 * 6;

const QString LoadModule = QStringLiteral("\r\nモジュール:mdlIniIo.LoadIni()");

} // namespace

class tst_SettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { JapaneseFonts::installSubstitutions(); }
    void firstRunWritesTheDefaults();
    void restartRestoresEverything();
    void refusedValueStopsTheLoad();
    void shortFileIsReportedAndNothingApplied();
    void failedLoadKeepsTheFileBeforeTheSave();
    void brokenPanelPictureIsReportedOnceAtStartUp();
    void windowOffEveryScreenIsPlacedAsAtFirstRun();
    void failedSaveIsReported();
    void secondStartAsksTheFirstToComeForward();
};

void tst_SettingsFile::firstRunWritesTheDefaults()
{
    QTemporaryDir dir;
    Run run(dir.path());
    BoxCatcher boxes;
    run.display->Form_Load();
    QVERIFY(boxes.texts.isEmpty());
    QVERIFY(!QFile::exists(run.path()));

    run.display->SaveIni();
    const QByteArray bytes = readAll(run.path());
    const QByteArray blocks1to4 = QByteArray::fromHex(
        "00000000" "0100" "ffffff00" "c0ffc000" "ffc08000" "0000" "0000"
        "ffff0000ffff0000ffff0000ffff0000" "000000000000"
        "80808000" "96969600" "f8d27200" "0000000000000000000000000000000000000000"
        "80808000" "ffff0000" "ffff" "0000");
    QCOMPARE(bytes.left(88).toHex(' '), blocks1to4.toHex(' '));
    QCOMPARE(bytes.mid(bytes.size() - ColorsFromEnd, 68), QByteArray(68, '\0'));
    QCOMPARE(bytes.mid(bytes.size() - ColorsFromEnd + 68, 2).toHex(' '), QByteArray("62 00"));

    // Ending again without a change writes the same bytes.
    run.display->SaveIni();
    QCOMPARE(readAll(run.path()), bytes);
    QVERIFY(boxes.texts.isEmpty());
}

void tst_SettingsFile::restartRestoresEverything()
{
    QTemporaryDir dir;
    OptionInfo changed;
    {
        Run first(dir.path());
        first.display->Form_Load();
        frmOption &options = first.options();
        options.Text2(0)->setText(QStringLiteral("/srv/運賃データ"));
        options.Check2()->setChecked(true);
        options.Combo2()->setCurrentIndex(3);
        options.Command5(1)->setColor(0x112233);
        options.Command8(0)->setColor(0x203040);
        options.Command9(1)->setColor(0x00FF00);
        options.Combo3()->setCurrentIndex(2);
        // Kept in the side file, applied by OK.
        options.cmbSegmentStyle()->setCurrentIndex(2);
        options.Command4()->click();
        options.Option2(1)->setChecked(true);
        options.txtSelectSound(9)->setText(QStringLiteral("/snd/二.wav"));
        options.customColors()[5] = 0x00ABCDEF;
        options.chkUseSeiriPrev()->setChecked(true);
        first.companion.fileAnswer = QStringLiteral(TAVELO_SAMPLES_DIR "/full.4SP");
        options.Command1()->click();
        QCOMPARE(options.List1()->count(), 10);
        options.Command4()->click();
        for (int i = 1; i <= 98; ++i) {
            first.display->Degit(i)->setShift(1);
            first.display->Degit(i)->setZeroMode(i % 3);
            first.display->Degit(i)->setFillZero(1);
        }
        first.display->move(150, 90);
        frmCtl &panel = *first.display->controlPanel();
        panel.HScroll1(0)->setValue(120);
        panel.HScroll1(1)->setValue(2500);
        panel.Check2()->setChecked(true);
        panel.Check4()->setChecked(true);
        panel.Frame1_DblClick(1);
        panel.move(120, 300); // the widened panel fits the screen there
        changed = options.GetOptionInfo();
        first.display->SaveIni();
    }
    const QByteArray saved = readAll(dir.filePath("R57.in4"));

    Run second(dir.path());
    BoxCatcher boxes;
    second.display->Form_Load();
    QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join('|')));
    QVERIFY(second.options().GetOptionInfo() == changed);
    QCOMPARE(second.options().customColors()[5], 0x00ABCDEFu);
    QCOMPARE(second.display->pos(), QPoint(150, 90));
    for (int i = 1; i <= 98; ++i) {
        const M_Degit *cell = second.display->Degit(i);
        QCOMPARE(cell->shift(), 1);
        QCOMPARE(cell->zeroMode(), i % 3);
        QCOMPARE(cell->fillZero(), 1);
        QCOMPARE(cell->backColor(), 0x203040u);
        QCOMPARE(cell->degitStyle(), 2);
        // Only the unlit segments until the first fares are shown.
        QCOMPARE(cell->value(), QVariant(QStringLiteral(" ")));
    }
    QCOMPARE(second.display->TimeDegit(1)->backColor(), 0x203040u);
    const frmCtl &panel = *second.display->controlPanel();
    QCOMPARE(panel.HScroll1(0)->value(), 120);
    QCOMPARE(panel.HScroll1(1)->value(), 2500);
    QVERIFY(panel.Check2()->isChecked());
    QVERIFY(panel.Check4()->isChecked());
    QCOMPARE(panel.width(), frmCtl::PreviewOpenWidth);
    QCOMPARE(panel.inputFrame(), 1);
    QCOMPARE(panel.pos(), QPoint(120, 300));
    // The ticket plug-in's property lines and company list are rebuilt.
    QCOMPARE(second.options().List1()->count(), 10);
    QCOMPARE(panel.Combo1()->count(), 3);

    second.display->SaveIni();
    QCOMPARE(readAll(dir.filePath("R57.in4")), saved);
    // A file that loaded is not kept aside.
    QVERIFY(!QFile::exists(dir.filePath("R57.in4.bak")));
}

void tst_SettingsFile::refusedValueStopsTheLoad()
{
    QTemporaryDir dir;
    IniRecords records;
    {
        Run first(dir.path());
        first.display->Form_Load();
        first.display->SaveIni();
        QCOMPARE(mdlIniIo::readFile(first.path(), records).status, mdlIniIo::ReadStatus::Read);
    }
    records.Option.Panel.SeiriNumStyle = 40;
    records.Option.Degit.DegitBackColor = 0x000080;
    records.Form = {3000, 1500};
    records.Ctrl.LateNight = 1;
    records.Degits[0] = {1, 2, 1};
    writeAll(dir.filePath("R57.in4"), In4Format::encode(records));

    Run second(dir.path());
    BoxCatcher boxes;
    second.display->Form_Load();
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts[0].startsWith(QStringLiteral("エラー Code:380\r\n内容:")), qPrintable(boxes.texts[0]));
    QVERIFY(boxes.texts[0].endsWith(LoadModule));
    // The cells were done before the options; the window's place is not restored.
    QCOMPARE(second.display->Degit(1)->zeroMode(), 2);
    QCOMPARE(second.display->Degit(1)->backColor(), 0x000080u);
    QCOMPARE(second.display->pos(), QPoint(0, 0));
    QVERIFY(!second.display->controlPanel()->Check2()->isChecked());
}

void tst_SettingsFile::shortFileIsReportedAndNothingApplied()
{
    QTemporaryDir dir;
    IniRecords records;
    records.Degits.fill({1, 1, 1});
    records.Form = {3000, 1500};
    const QByteArray bytes = In4Format::encode(records);
    writeAll(dir.filePath("R57.in4"), bytes.left(bytes.size() - 3));

    Run run(dir.path());
    BoxCatcher boxes;
    run.display->Form_Load();
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts[0].startsWith(QStringLiteral("エラー Code:62\r\n内容:")), qPrintable(boxes.texts[0]));
    QVERIFY(boxes.texts[0].contains(QStringLiteral("DegitInfo[98].ZeroMode")));
    QVERIFY(boxes.texts[0].endsWith(LoadModule));
    QCOMPARE(run.display->Degit(1)->shift(), 0);
    QCOMPARE(run.display->pos(), QPoint(0, 0));
    // The broken file stays as it was until the end of the run.
    QCOMPARE(readAll(dir.filePath("R57.in4")), bytes.left(bytes.size() - 3));
}

void tst_SettingsFile::failedLoadKeepsTheFileBeforeTheSave()
{
    IniRecords refused;
    refused.Option.Panel.SeiriNumStyle = 40;
    const QByteArray full = In4Format::encode(IniRecords{});
    const QList<QByteArray> broken = {full.left(full.size() - 3), In4Format::encode(refused)};
    for (const QByteArray &bytes : broken) {
        QTemporaryDir dir;
        const QString path = dir.filePath("R57.in4");
        const QString backup = dir.filePath("R57.in4.bak");
        writeAll(path, bytes);
        writeAll(backup, "an older copy");

        Run run(dir.path());
        BoxCatcher boxes;
        run.display->Form_Load();
        QCOMPARE(boxes.texts.size(), 1);
        // The message is the load's own, with where the file will be kept under it.
        QVERIFY(boxes.texts[0].startsWith(QStringLiteral("エラー Code:")));
        QVERIFY(boxes.texts[0].endsWith(LoadModule));
        QVERIFY2(boxes.notes[0].contains(QDir::toNativeSeparators(backup)), qPrintable(boxes.notes[0]));
        QCOMPARE(readAll(backup), QByteArray("an older copy"));

        run.display->SaveIni();
        QVERIFY(boxes.texts.size() == 1);
        QCOMPARE(readAll(backup), bytes);
        IniRecords saved;
        QCOMPARE(mdlIniIo::readFile(path, saved).status, mdlIniIo::ReadStatus::Read);
        // A later save replaces the file only.
        run.display->SaveIni();
        QCOMPARE(readAll(backup), bytes);
    }
}

void tst_SettingsFile::brokenPanelPictureIsReportedOnceAtStartUp()
{
    QTemporaryDir dir;
    writeAll(dir.filePath("off.bmp"), "not a picture");
    IniRecords records;
    {
        Run first(dir.path());
        first.display->Form_Load();
        first.display->SaveIni();
        QCOMPARE(mdlIniIo::readFile(first.path(), records).status, mdlIniIo::ReadStatus::Read);
    }
    OptPanel &panel = records.Option.Panel;
    panel.PanelAuto = 0;
    panel.PanelCustom = -1;
    panel.PanelOffBuiltIn = 0;
    panel.PanelOffUser = -1;
    panel.PanelOffFile = dir.filePath("off.bmp");
    writeAll(dir.filePath("R57.in4"), In4Format::encode(records));

    Run run(dir.path());
    BoxCatcher boxes;
    run.display->Form_Load();
    QCOMPARE(boxes.texts, QStringList{ErrorReport::panelPictureText(481)});
    // Switching to the broken picture later says it again.
    run.display->controlPanel()->Option4_Click(0);
    QCOMPARE(boxes.texts.size(), 2);
}

void tst_SettingsFile::windowOffEveryScreenIsPlacedAsAtFirstRun()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QList<QPoint> lost = {{screen.right() + 500, 0}, {0, screen.bottom() + 1}, {-921 + 10, 0}};
    for (const QPoint &place : lost) {
        QTemporaryDir dir;
        IniRecords records;
        {
            Run first(dir.path());
            first.display->Form_Load();
            first.display->SaveIni();
            QCOMPARE(mdlIniIo::readFile(first.path(), records).status, mdlIniIo::ReadStatus::Read);
        }
        records.Form = {place.x() * 15, place.y() * 15};
        records.Ctrl.Left = records.Form.Left;
        records.Ctrl.Top = records.Form.Top;
        writeAll(dir.filePath("R57.in4"), In4Format::encode(records));
        Run run(dir.path());
        run.display->Form_Load();
        QCOMPARE(run.display->pos(), QPoint(0, 0));
        QCOMPARE(run.display->controlPanel()->frameGeometry().bottomRight(), screen.bottomRight());
    }
}

void tst_SettingsFile::failedSaveIsReported()
{
    QTemporaryDir dir;
    writeAll(dir.filePath("bin"), "a file, not a folder");
    Run run(dir.filePath("bin"));
    run.display->Form_Load();
    BoxCatcher boxes;
    run.display->SaveIni();
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts[0].startsWith(QStringLiteral("エラー Code:70\r\n内容:書き込みできません。")),
             qPrintable(boxes.texts[0]));
    QVERIFY(!boxes.texts[0].contains(QStringLiteral("モジュール")));
}

void tst_SettingsFile::secondStartAsksTheFirstToComeForward()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("R57.in4");
    using Claim = SingleInstanceGuard::Claim;
    SingleInstanceGuard first(path);
    QSignalSpy forward(&first, &SingleInstanceGuard::activationRequested);
    QCOMPARE(first.claim(), Claim::First);
    // The second start runs beside the first, whose event loop answers it.
    std::future<Claim> second = std::async(std::launch::async, [&path] { return SingleInstanceGuard(path).claim(); });
    QTRY_VERIFY_WITH_TIMEOUT(second.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 10000);
    QCOMPARE(second.get(), Claim::Forwarded);
    QCOMPARE(forward.size(), 1);

    // A first start that hangs still holds its socket, but gives no answer.
    SingleInstanceGuard third(path);
    QCOMPARE(third.claim(), Claim::NoAnswer);
    QVERIFY2(third.noAnswerText().contains(QStringLiteral("応答しません")), qPrintable(third.noAnswerText()));

    // Another settings file is another board.
    SingleInstanceGuard other(dir.filePath("other.in4"));
    QCOMPARE(other.claim(), Claim::First);
    QVERIFY(SingleInstanceGuard::serverName(path) != SingleInstanceGuard::serverName(dir.filePath("other.in4")));
}

QTEST_MAIN(tst_SettingsFile)
#include "tst_SettingsFile.moc"
