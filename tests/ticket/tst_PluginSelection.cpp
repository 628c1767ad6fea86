#include "fare/FareFiles.h"
#include "fare/PanelFixture.h"

#include "fare/PanelButton.h"
#include "ticket/SeirikenPreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString sample(const QString &name)
{
    return QStringLiteral(TAVELO_SAMPLES_DIR "/") + name;
}

QString badTicket()
{
    return QStringLiteral(TAVELO_BAD_TICKETS_DIR "/unknown-element.4SP");
}

// The control panel and options with the preview function on, which is
// what makes the plug-in's frame usable.
struct PreviewFixture : PanelFixture
{
    PreviewFixture()
    {
        setOptions([](OptionInfo &o) { o.Seiriken.UseSeiriPrev = 1; });
    }
};

struct ShownBox
{
    QString title;
    QString text;
};

// Closes the next message box once it is open and keeps what it said.
void closeNextBox(ShownBox &shown)
{
    QTimer::singleShot(0, [&shown] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = {box->windowTitle(), box->text()};
            box->button(QMessageBox::Ok)->click();
        }
    });
}

QStringList listed(const QListWidget *list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) {
        lines << list->item(i)->text();
    }
    return lines;
}

bool isWhite(const QImage &image)
{
    QImage white(image.size(), image.format());
    white.fill(Qt::white);
    return image == white;
}

} // namespace

class tst_PluginSelection : public QObject
{
    Q_OBJECT

private slots:
    void choosingAPluginShowsWhatItCanPrint();
    void choosingTheSamePluginTwiceListsItsCompaniesOnce();
    void aRefusedChoiceKeepsWhatWasShown();
    void forgettingThePluginKeepsTheCompaniesAndSize();
    void theSettingsLoadRebuildsThePluginWithoutMessages();
    void everyStopShownDrawsItsTicket();
    void theStopShownGetsItsTicketAtOnceAndTheTerminalNone();
    void anEmptyPreviewSaysWhereToChooseAPlugin();
};

void tst_PluginSelection::choosingAPluginShowsWhatItCanPrint()
{
    PreviewFixture f;
    f.companion.fileAnswer = sample("full.4SP");
    f.options.Command1()->click();
    QVERIFY(!f.companion.calls.isEmpty());
    QCOMPARE(f.companion.calls.last(), QStringLiteral("Brix3FileDlg title=プラグインの選択"));
    QCOMPARE(f.companion.lastFilter, QStringLiteral("整理券プラグイン(*.4SP)") + QChar() + "*.4SP" + QChar() + QChar());
    QCOMPARE(f.options.txtSeiriPlgDir()->text(), sample("full.4SP"));
    const QStringList lines = listed(f.options.List1());
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines.first(), QStringLiteral("日付の印字 ---> 可能"));
    QCOMPARE(lines.last(), QStringLiteral("社名切り替え:---> 可能"));
    QVERIFY(f.options.txtPlginComment()->toPlainText().startsWith(QStringLiteral("見本の整理券（全項目）")));
    QCOMPARE(f.panel.picSeirikenPrev()->size(), QSize(220, 116));
    QCOMPARE(f.panel.Combo1()->count(), 3);
    QCOMPARE(f.panel.Combo1()->itemText(0), QStringLiteral("しらさぎ交通"));
    QCOMPARE(f.panel.Combo1()->currentIndex(), -1);

    // A plug-in without barcode and companies: six lines, an empty list.
    f.companion.fileAnswer = sample("plain.4SP");
    f.options.Command1()->click();
    QCOMPARE(f.options.List1()->count(), 6);
    QCOMPARE(f.panel.Combo1()->count(), 0);
    QCOMPARE(f.panel.picSeirikenPrev()->size(), QSize(220, 93));
}

void tst_PluginSelection::choosingTheSamePluginTwiceListsItsCompaniesOnce()
{
    PreviewFixture f;
    f.companion.fileAnswer = sample("full.4SP");
    f.options.Command1()->click();
    f.panel.Combo1()->setCurrentIndex(2);
    f.options.Command1()->click();
    QCOMPARE(f.panel.Combo1()->count(), 3);
    QCOMPARE(f.options.List1()->count(), 10);
}

void tst_PluginSelection::aRefusedChoiceKeepsWhatWasShown()
{
    PreviewFixture f;
    f.companion.fileAnswer = sample("full.4SP");
    f.options.Command1()->click();
    const QStringList lines = listed(f.options.List1());
    const QString comment = f.options.txtPlginComment()->toPlainText();

    // A refused file, then a cancelled chooser: both say so.
    for (const QString &answer : {badTicket(), QString()}) {
        f.companion.fileAnswer = answer;
        ShownBox shown;
        closeNextBox(shown);
        f.options.Command1()->click();
        QCOMPARE(shown.title, QStringLiteral("プラグインロードエラー"));
        QCOMPARE(shown.text, QStringLiteral("指定したファイルはプラグインでないか、内容が不正です"));
        QCOMPARE(f.options.txtSeiriPlgDir()->text(), sample("full.4SP"));
        QCOMPARE(listed(f.options.List1()), lines);
        QCOMPARE(f.options.txtPlginComment()->toPlainText(), comment);
        // The company list was cleared before the file was looked at.
        QCOMPARE(f.panel.Combo1()->count(), 0);
    }
}

void tst_PluginSelection::forgettingThePluginKeepsTheCompaniesAndSize()
{
    PreviewFixture f;
    f.companion.fileAnswer = sample("full.4SP");
    f.options.Command1()->click();
    f.options.Command11()->click();
    QVERIFY(f.options.txtSeiriPlgDir()->text().isEmpty());
    QCOMPARE(f.options.List1()->count(), 0);
    QVERIFY(f.options.txtPlginComment()->toPlainText().isEmpty());
    QCOMPARE(f.panel.Combo1()->count(), 3);
    QCOMPARE(f.panel.picSeirikenPrev()->size(), QSize(220, 116));
}

void tst_PluginSelection::theSettingsLoadRebuildsThePluginWithoutMessages()
{
    PreviewFixture f;
    OptionInfo info = f.display.options().info();
    info.Seiriken.PluginPath = sample("full.4SP");
    // Loaded twice, as defaults and then the saved file would be.
    QVERIFY(!f.display.options().assign(info));
    QVERIFY(!f.display.options().assign(info));
    QCOMPARE(f.options.List1()->count(), 10);
    QCOMPARE(f.panel.Combo1()->count(), 3);
    QCOMPARE(f.panel.Combo1()->currentIndex(), -1);
    QCOMPARE(f.panel.picSeirikenPrev()->size(), QSize(220, 116));

    // A saved path that is no plug-in any more: no message, the path kept.
    // (A message box here would block the test.)
    PreviewFixture fresh;
    info.Seiriken.PluginPath = badTicket();
    QVERIFY(!fresh.display.options().assign(info));
    QCOMPARE(fresh.options.txtSeiriPlgDir()->text(), badTicket());
    QCOMPARE(fresh.options.List1()->count(), 0);
    QCOMPARE(fresh.panel.Combo1()->count(), 0);
}

void tst_PluginSelection::everyStopShownDrawsItsTicket()
{
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(writeRoute(dir.filePath("0.hy3"), {QStringLiteral("中央駅"), QStringLiteral("本町二丁目")}, distanceFare));
    PreviewFixture f;
    f.companion.fileAnswer = sample("full.4SP");
    f.options.Command1()->click();
    f.options.Command4()->click(); // OK
    f.panel.Combo1()->setCurrentIndex(1);
    f.display.Form_Load();

    QTest::mouseClick(f.panel.Command1(0), Qt::LeftButton);
    SeirikenPreview *preview = f.panel.picSeirikenPrev();
    // The big ticket number of the sample lies left of "番".
    const QRect numberBox(64, 18, 94, 46);
    QVERIFY(!isWhite(preview->image().copy(numberBox)));
    QCOMPARE(preview->accessibleDescription(), QStringLiteral("整理券 1番 中央駅"));
    const QImage first = preview->image().copy();

    QTest::mouseClick(f.panel.Command2(1), Qt::LeftButton);
    QVERIFY(preview->image() != first);
    QCOMPARE(preview->accessibleDescription(), QStringLiteral("整理券 2番 本町二丁目"));

    // With the preview function off, the next stop leaves the box white.
    f.setOptions([](OptionInfo &o) { o.Seiriken.UseSeiriPrev = 0; });
    QTest::mouseClick(f.panel.Command2(0), Qt::LeftButton);
    QVERIFY(isWhite(preview->image()));
    QVERIFY(preview->accessibleDescription().isEmpty());
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
}

void tst_PluginSelection::theStopShownGetsItsTicketAtOnceAndTheTerminalNone()
{
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    // The terminal has ticket number 0: nobody boards there.
    std::vector<StopRecord> stops = FareFiles::stops(3);
    stops.back().ticketNumber = 0;
    QVERIFY(FareFiles::write(dir.filePath("0.hy3"), *Hy3File::serialize(stops)));
    PreviewFixture f;
    f.display.Form_Load();
    QTest::mouseClick(f.panel.Command1(0), Qt::LeftButton);

    // A plug-in chosen while the bus stands at a stop, then the preview opened.
    f.companion.fileAnswer = sample("full.4SP");
    f.options.Command1()->click();
    f.options.Command4()->click(); // OK
    f.panel.Check4()->click();
    SeirikenPreview *preview = f.panel.picSeirikenPrev();
    QCOMPARE(preview->accessibleDescription(), QStringLiteral("整理券 1番 停留所1"));
    QVERIFY(!isWhite(preview->image()));

    QTest::mouseClick(f.panel.Command2(1), Qt::LeftButton);
    QTest::mouseClick(f.panel.Command2(1), Qt::LeftButton);
    QCOMPARE(f.bus.route().currentStop(), 3);
    QVERIFY(isWhite(preview->image()));
    QVERIFY(preview->accessibleDescription().isEmpty());
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
}

void tst_PluginSelection::anEmptyPreviewSaysWhereToChooseAPlugin()
{
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(writeRoute(dir.filePath("0.hy3"), {QStringLiteral("中央駅"), QStringLiteral("本町二丁目")}, distanceFare));
    // As at a first run: the preview function off, no plug-in.
    PanelFixture f;
    f.display.Form_Load();
    f.panel.Check4()->click();
    SeirikenPreview *preview = f.panel.picSeirikenPrev();
    const auto shown = [preview] { return preview->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    // Where to go, named as the panel and the options dialog label it.
    const QString hint = preview->hint();
    for (const QString &name : QStringList{f.panel.findChild<QPushButton *>(QStringLiteral("Command4"))->text(),
                                f.options.Frame1(5)->title(), f.options.chkUseSeiriPrev()->text(),
                                QStringLiteral("整理券プラグイン")}) {
        QVERIFY2(hint.contains(QStringLiteral("「%1」").arg(name)), qPrintable(hint));
    }
    // Written on the box, not into the picture that a copy takes.
    QVERIFY(!isWhite(shown()));
    QVERIFY(isWhite(preview->image()));

    // The function on with no plug-in yet, a route set: the same hint.
    f.setOptions([](OptionInfo &o) { o.Seiriken.UseSeiriPrev = 1; });
    QTest::mouseClick(f.panel.Command1(0), Qt::LeftButton);
    QCOMPARE(preview->hint(), hint);
    QVERIFY(!isWhite(shown()));

    // A plug-in chosen: the ticket alone shows.
    f.companion.fileAnswer = sample("plain.4SP");
    f.options.Command1()->click();
    f.options.Command4()->click(); // OK
    QTest::mouseClick(f.panel.Command2(1), Qt::LeftButton);
    QVERIFY(preview->hint().isEmpty());
    QCOMPARE(shown(), preview->image().convertToFormat(QImage::Format_RGB32));
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
}

QTEST_MAIN(tst_PluginSelection)
#include "tst_PluginSelection.moc"
