#include "fare/PanelFixture.h"

#include "controls/M_Degit.h"
#include "lcd/LcdBoardContent.h"
#include "lcd/LcdBoardCycle.h"
#include "lcd/KanaStopNames.h"
#include "lcd/LcdFareDisplay.h"
#include "remote/BusPanelControl.h"
#include "remote/PanelState.h"
#include "settings/SettingsLocation.h"
#include "settings/SideSettings.h"

#include <QComboBox>
#include <QDir>
#include <QJsonArray>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The LCD look of the display: its pages and languages, its cells, and the
// real window showing the running bus in it, chosen in the options and kept
// in the side settings.
class tst_LcdFareDisplay : public QObject
{
    Q_OBJECT

private slots:
    void pagesHoldFortyWithTheNewestLast()
    {
        LcdBoardCycle cycle;
        cycle.setFareCount(98, true);
        QCOMPARE(cycle.pageCount(), 3);
        QCOMPARE(cycle.pageText(), QStringLiteral("1/3"));
        QCOMPARE(cycle.firstFare(), 0);
        QCOMPARE(cycle.faresOnPage(), 40);
        cycle.nextPage();
        cycle.nextPage();
        // The last page: tickets 81..98.
        QCOMPARE(cycle.pageText(), QStringLiteral("3/3"));
        QCOMPARE(cycle.firstFare(), 80);
        QCOMPARE(cycle.faresOnPage(), 18);
        // A table that shrinks under the page shown keeps to its last page;
        // a new one starts again at its first, and the turn goes round.
        cycle.setFareCount(60, false);
        QCOMPARE(cycle.pageText(), QStringLiteral("2/2"));
        QCOMPARE(cycle.faresOnPage(), 20);
        cycle.nextPage();
        QCOMPARE(cycle.pageText(), QStringLiteral("1/2"));
        cycle.nextPage();
        cycle.setFareCount(61, true);
        QCOMPARE(cycle.page(), 0);
        // Forty fit one page, which needs no number.
        cycle.setFareCount(40, true);
        QVERIFY(!cycle.pages());
        QCOMPARE(cycle.pageText(), QString());
        QCOMPARE(cycle.faresOnPage(), 40);
    }

    void languagesTakeTurnsSkippingAbsentOnes()
    {
        LcdBoardCycle cycle;
        const QMap<QString, QString> names = {{"ja", "市役所前"},  {"kana", "しやくしょまえ"}, {"en", "Shiyakusho-mae"},
                                              {"zh-Hans", " "}, {"ko", "시청앞"}};
        cycle.setNames(names);
        QCOMPARE(cycle.languages(), QStringList({"ja", "en", "ko"}));
        QStringList shown;
        for (int turn = 0; turn < 4; ++turn) {
            shown << cycle.language();
            cycle.nextLanguage();
        }
        QCOMPARE(shown, QStringList({"ja", "en", "ko", "ja"}));
        // The same names keep their turn; another stop starts in Japanese.
        cycle.setNames(names);
        QCOMPARE(cycle.language(), QStringLiteral("en"));
        cycle.setNames({{"ja", "本町"}});
        QCOMPARE(cycle.language(), QStringLiteral("ja"));
        QVERIFY(!cycle.rotatesLanguages());
    }

    void cellsFollowTheBoardsRules()
    {
        DegitFormat board; // zero mode 0: nothing shows for 0
        QCOMPARE(LcdBoardContent::fareText(CellValue(), board), QString());
        QCOMPARE(LcdBoardContent::fareText(qint32(0), board), QString());
        QCOMPARE(LcdBoardContent::fareText(qint32(230), board), QStringLiteral("230"));
        // A doubled late-night fare of five digits is not cut to the board's four.
        QCOMPARE(LcdBoardContent::fareText(qint32(12340), board), QStringLiteral("12340"));
        for (const auto missing : {DegitFormat::MissingFare::MinusOne, DegitFormat::MissingFare::Dash}) {
            board.missingFare = missing;
            QCOMPARE(LcdBoardContent::fareText(qint32(-1), board), QStringLiteral("—"));
        }
        board.missingFare = DegitFormat::MissingFare::Blank;
        QCOMPARE(LcdBoardContent::fareText(qint32(-1), board), QString());
        // A cell whose zero handling shows -1 as 0 shows 0, as the board does.
        board.zeroMode = 2;
        QCOMPARE(LcdBoardContent::fareText(qint32(-1), board), QStringLiteral("0"));
    }

    // Without names from the route, the kana is the reading the speech
    // uses, in hiragana, and only when it reads the whole name.
    void kanaComesFromTheReadingsOfTheWholeName()
    {
        KanaStopNames names;
        names.setDictionary(ReadingDictionary::parse(u"市役所前,しやくしょまえ\n美杜,ミモリ\n"));
        QCOMPARE(names.names(QStringLiteral("市役所前")),
                 (QMap<QString, QString>{{"ja", "市役所前"}, {"kana", "しやくしょまえ"}}));
        QCOMPARE(names.names(QStringLiteral("美杜")).value("kana"), QStringLiteral("みもり"));
        // 港 stays unread; a name in kana needs none above it.
        QVERIFY(!names.names(QStringLiteral("美杜港")).contains("kana"));
        QVERIFY(!names.names(QStringLiteral("みなと")).contains("kana"));
    }

    // A side file that says "lcd" starts the window as the LCD; it shows
    // the issued tickets with their fares (doubled late at night), pages
    // them and tells assistive technology the stop in each language and
    // the fares of the page. The options switch back to the LED board,
    // which stops its timers, is told to the remote interface and is kept in
    // the file.
    void theWindowShowsTheBusAsAnLcdAndSwitchesBack()
    {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        QStringList names;
        for (int n = 1; n <= 50; ++n) {
            names << QStringLiteral("停留所%1").arg(n);
        }
        QVERIFY(writeRoute(dir.filePath("0.hy3"), names, distanceFare));
        const SettingsLocation location(dir.filePath("R57"), dir.path(), true);
        SideSettings side;
        side.displayStyle = DisplayStyle::Lcd;
        QVERIFY(side.save(location.sidePath()));
        FakeCompanion companion;
        FakeMultimedia multimedia;
        PlatformServices services;
        services.companion = &companion;
        services.multimedia = &multimedia;
        services.settings = &location;
        Form1 display(services);
        display.Form_Load();
        LcdFareDisplay &lcd = *display.lcdDisplay();
        QVERIFY(lcd.isVisible());
        // Nothing of the board under it, not even the labels the options' look shows.
        QVERIFY(!display.Degit(1)->isVisible());
        QVERIFY(!display.lblSeiriNum(1)->isVisible());
        QCOMPARE(display.size(), QSize(640, 360));
        QCOMPARE(display.optionsDialog()->cmbDisplayStyle()->currentText(), QStringLiteral("液晶"));
        lcd.setStopNames([](int stop) {
            return QMap<QString, QString>{{"ja", QStringLiteral("停留所%1").arg(stop)},
                                          {"kana", QStringLiteral("ていりゅうじょ")},
                                          {"en", QStringLiteral("Stop %1").arg(stop)}};
        });

        BusOperation &bus = display.operation();
        QCOMPARE(bus.setRoute(QStringLiteral("0"), QString()).outcome, CommandResult::Done);
        QCOMPARE(lcd.accessibleName(),
                 QStringLiteral("ただいま 停留所1（ていりゅうじょ）。Now at Stop 1"));
        QCOMPARE(lcd.accessibleDescription(), QStringLiteral("整理券 1 100円"));
        QCOMPARE(bus.setLateNight(true).outcome, CommandResult::Done);
        for (int n = 2; n <= 45; ++n) {
            QCOMPARE(bus.step(true).outcome, CommandResult::Done);
        }
        QCOMPARE(lcd.view().fares.size(), 45);
        QCOMPARE(lcd.cycle().pageText(), QStringLiteral("1/2"));
        QVERIFY(lcd.accessibleName().startsWith(QStringLiteral("つぎは 停留所45（ていりゅうじょ）。Next Stop 45")));
        // Ticket 1 pays 100 + 44 * 10 yen, doubled.
        QVERIFY(lcd.accessibleDescription().startsWith(QStringLiteral("整理券 1 1080円、2 1060円")));
        QVERIFY(lcd.timersActive());
        lcd.nextPage();
        QCOMPARE(lcd.accessibleDescription(),
                 QStringLiteral("整理券 41 280円、42 260円、43 240円、44 220円、45 200円（2/2 ページ）"));

        // The remote's board mirror hears of the other look at once.
        const BusPanelControl remote(bus, display);
        QCOMPARE(remote.state().style, QStringLiteral("lcd"));
        QCOMPARE(remote.state().lcd.value("fares").toArray().size(), 45);
        QSignalSpy told(&remote, &BusPanelControl::changed);
        frmOption &options = *display.optionsDialog();
        options.cmbDisplayStyle()->setCurrentIndex(static_cast<int>(DisplayStyle::Led));
        options.Command4()->click();
        QVERIFY(!told.isEmpty());
        QCOMPARE(remote.state().style, QStringLiteral("led"));
        QVERIFY(!lcd.isVisible());
        QVERIFY(!lcd.timersActive());
        QVERIFY(display.Degit(1)->isVisible());
        QVERIFY(display.lblSeiriNum(1)->isVisible());
        QCOMPARE(display.size(), QSize(921, 307));
        QCOMPARE(SideSettings::load(location.sidePath()).displayStyle, DisplayStyle::Led);
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
    }
};

QTEST_MAIN(tst_LcdFareDisplay)
#include "tst_LcdFareDisplay.moc"
