#include "FareFiles.h"

#include "fare/FareRoute.h"
#include "fare/RouteSetting.h"
#include "fare/SteppingSound.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class tst_FareRoute : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    static RouteLoadResult load(FareRoute &route, const QString &file, const QString &section = QStringLiteral("1"))
    {
        return route.load(RouteSetting::request(QStringLiteral("7"), section), file);
    }

    // A route of five stops set at section 3, the state every failure
    // below must leave intact.
    FareRoute fiveStopsAtSection3()
    {
        FareRoute route;
        const QString file = path(QStringLiteral("5.hy3"));
        FareFiles::writeStops(file, 5);
        route.load(RouteSetting::request(QStringLiteral("005"), QStringLiteral("3")), file);
        return route;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void turnsEntriesIntoARouteAndSection_data()
    {
        QTest::addColumn<QString>("routeText");
        QTest::addColumn<QString>("sectionText");
        QTest::addColumn<QString>("routeNumber");
        QTest::addColumn<int>("startSection");
        QTest::newRow("leading zeros") << "00012" << "005" << "12" << 5;
        QTest::newRow("nothing entered") << "" << "" << "0" << 1;
        QTest::newRow("section 0") << "0" << "000" << "0" << 1;
        QTest::newRow("section 300") << "99999" << "300" << "99999" << 300;
        QTest::newRow("section above 300") << "1" << "999" << "1" << 300;
    }
    void turnsEntriesIntoARouteAndSection()
    {
        QFETCH(QString, routeText);
        QFETCH(QString, sectionText);
        const RouteRequest request = RouteSetting::request(routeText, sectionText);
        QCOMPARE(request.routeText, routeText);
        QTEST(request.routeNumber, "routeNumber");
        QTEST(int(request.startSection), "startSection");
    }

    void joinsTheSelectedListItems()
    {
        QCOMPARE(RouteSetting::listText({0, 0, 0, 1, 2}), QStringLiteral("00012"));
        QCOMPARE(RouteSetting::listText({-1, 3, -1, -1, 4}), QStringLiteral("34"));
        QCOMPARE(RouteSetting::listText({-1, -1, -1, -1, -1}), QString());
        QCOMPARE(RouteSetting::request(RouteSetting::listText({-1, -1, -1}), QString()).routeNumber, QStringLiteral("0"));
    }

    void namesTheFareFile()
    {
        QCOMPARE(RouteSetting::withSeparator(QString()), QString());
        QCOMPARE(RouteSetting::withSeparator(QStringLiteral("/data")), QStringLiteral("/data/"));
        QCOMPARE(RouteSetting::withSeparator(QStringLiteral("/data/")), QStringLiteral("/data/"));
        // An empty folder names the file in the working folder.
        QCOMPARE(RouteSetting::fareFilePath(QString(), QStringLiteral("12")), QStringLiteral("12.hy3"));
        QCOMPARE(RouteSetting::fareFilePath(QStringLiteral("fares"), QStringLiteral("0")), QStringLiteral("fares/0.hy3"));
    }

    void holdsTheTicketDateOfTheDateOption()
    {
        const QDate today(2026, 12, 6);
        QCOMPARE(RouteSetting::heldDate(0, QStringLiteral("01-01-2000"), today), QStringLiteral("12-06-2026"));
        QCOMPARE(RouteSetting::heldDate(1, QStringLiteral("01-01-2000"), today), QStringLiteral("12-06-2026"));
        QCOMPARE(RouteSetting::heldDate(2, QStringLiteral("01-01-2000"), today), QStringLiteral("01-01-2000"));
    }

    void loadsARouteAtItsStartSection()
    {
        const FareRoute route = fiveStopsAtSection3();
        QVERIFY(route.hasRoute());
        QCOMPARE(route.state().RouteText, QStringLiteral("005"));
        QCOMPARE(route.state().StartSection, qint16(3));
        QCOMPARE(route.state().RecordCount, qint16(5));
        QCOMPARE(route.state().CurrentIndex, qint16(2));
        QCOMPARE(route.currentStop(), 3);
        QCOMPARE(route.table().slot(5), FareFiles::stop(5));
        QCOMPARE(route.table().slot(6), StopRecord{});
    }

    void aNewRouteReplacesTheWholeTable()
    {
        FareRoute route = fiveStopsAtSection3();
        const QString file = path(QStringLiteral("2.hy3"));
        FareFiles::writeStops(file, 2);
        QVERIFY(load(route, file).ok);
        QCOMPARE(route.state().RecordCount, qint16(2));
        QCOMPARE(route.state().CurrentIndex, qint16(0));
        QCOMPARE(route.table().slot(3), StopRecord{});
    }

    void acceptsSectionsBeforeTheLastStop_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<bool>("accepted");
        for (int section = 1; section <= 5; ++section) {
            QTest::addRow("section %d", section) << QString::number(section) << (section < 5);
        }
    }
    void acceptsSectionsBeforeTheLastStop()
    {
        QFETCH(QString, section);
        QFETCH(bool, accepted);
        FareRoute route;
        const QString file = path(QStringLiteral("5.hy3"));
        FareFiles::writeStops(file, 5);
        const RouteLoadResult result = load(route, file, section);
        QCOMPARE(result.ok, accepted);
        if (!accepted) {
            QCOMPARE(result.message,
                     QStringLiteral("指定した区間はデータの数よりも多いです...\r\n  解決法：正しい区間を入力して下さい."));
        }
    }

    void refusedFilesLeaveThePreviousRoute_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray threeStops = *Hy3File::serialize(FareFiles::stops(3));
        const QString section = QStringLiteral("指定した区間はデータの数よりも多いです...\r\n  解決法：正しい区間を入力して下さい.");
        QTest::newRow("no records") << QByteArray::fromHex("0000")
                                    << QStringLiteral("指定した系統はデータの数が0(未登録)の可能性があります...");
        QTest::newRow("negative count") << QByteArray::fromHex("FFFF") << section;
        QTest::newRow("count -32768") << QByteArray::fromHex("0080") << QStringLiteral("データの数(-32768)が不正です。");
        QTest::newRow("302 records") << QByteArray::fromHex("2E01") << QStringLiteral("データの数(302)が多すぎます。扱えるのは301件までです。");
        QTest::newRow("too few for the section") << *Hy3File::serialize(FareFiles::stops(2)) << section;
        QTest::newRow("cut short") << threeStops.left(threeStops.size() - 1)
                                   << QStringLiteral("データファイルが途中で切れています。3件目のデータが足りません（データの数：3）。");
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("データファイルが短すぎて、データの数を読めません。");
    }
    void refusedFilesLeaveThePreviousRoute()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        FareRoute route = fiveStopsAtSection3();
        const DataIo table = route.table();
        const QString file = path(QStringLiteral("bad.hy3"));
        QVERIFY(FareFiles::write(file, bytes));

        const RouteLoadResult result = route.load(RouteSetting::request(QStringLiteral("0042"), QStringLiteral("2")), file);
        QVERIFY(!result.ok);
        QCOMPARE(result.message, message);
        // Nothing is taken over, not even the entry: the route reported is
        // the one whose fares are shown.
        QCOMPARE(route.state().RouteText, QStringLiteral("005"));
        QCOMPARE(route.state().StartSection, qint16(3));
        QCOMPARE(route.state().RecordCount, qint16(5));
        QCOMPARE(route.state().CurrentIndex, qint16(2));
        QVERIFY(route.table() == table);
        // Stepping still stays within the five stops of the table.
        while (route.stepForward()) { }
        QCOMPARE(route.currentStop(), 5);
    }

    void aMissingFileIsReportedAndNotCreated()
    {
        FareRoute route = fiveStopsAtSection3();
        const QString file = path(QStringLiteral("missing.hy3"));
        const RouteLoadResult result = load(route, file);
        QVERIFY(!result.ok);
        QCOMPARE(result.message, QStringLiteral("指定した系統のデータがありません..."));
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(route.state().RecordCount, qint16(5));
        QCOMPARE(route.state().RouteText, QStringLiteral("005")); // the route on the board
        // Where it was looked for, in full even when the folder setting is empty.
        QCOMPARE(load(route, QStringLiteral("missing.hy3")).informativeText,
                 QDir::toNativeSeparators(QDir::current().absoluteFilePath(QStringLiteral("missing.hy3"))));
    }

    void aFolderIsNotAFareFile()
    {
        FareRoute route;
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("9.hy3")));
        const RouteLoadResult result = load(route, path(QStringLiteral("9.hy3")));
        QVERIFY(!result.ok);
        QVERIFY(result.message.startsWith(QStringLiteral("指定した系統のデータファイルを読み込めません。")));
        QVERIFY(!route.hasRoute());
    }

    void stepsWithinTheRoute()
    {
        FareRoute route;
        QVERIFY(!route.canStepBack());
        QVERIFY(!route.stepForward()); // no route yet
        route = fiveStopsAtSection3();
        QVERIFY(route.stepBack());
        QVERIFY(route.stepBack());
        QCOMPARE(route.currentStop(), 1);
        QVERIFY(!route.canStepBack());
        QVERIFY(!route.stepBack());
        QCOMPARE(route.currentStop(), 1);
        for (int i = 0; i < 4; ++i) {
            QVERIFY(route.stepForward());
        }
        QCOMPARE(route.currentStop(), 5);
        QVERIFY(!route.canStepForward());
        QVERIFY(!route.stepForward());
        QCOMPARE(route.state().CurrentIndex, qint16(4));
    }

    void steppingSoundFollowsTheOptions()
    {
        // Column 150 of each stop selects the sound: stops 1..5 hold 1, 2, 3, 4, -1.
        std::vector<StopRecord> stops = FareFiles::stops(5);
        const qint16 selectors[] = {1, 2, 3, 4, -1};
        for (size_t i = 0; i < stops.size(); ++i) {
            stops[i].columns[149] = selectors[i];
        }
        const QString file = path(QStringLiteral("selectors.hy3"));
        QVERIFY(FareFiles::write(file, *Hy3File::serialize(stops)));
        FareRoute route;
        QVERIFY(load(route, file).ok);

        SteppingSoundOptions options;
        options.alwaysFile = QStringLiteral("always.wav");
        options.selectorColumn = 150;
        options.selectorFiles = {QStringLiteral("one.wav"), QStringLiteral("two.wav"), QStringLiteral("three.wav")};
        QCOMPARE(SteppingSound::fileFor(route, 1, options), QStringLiteral("one.wav"));
        QCOMPARE(SteppingSound::fileFor(route, 2, options), QStringLiteral("two.wav"));
        QCOMPARE(SteppingSound::fileFor(route, 3, options), QStringLiteral("three.wav"));
        QCOMPARE(SteppingSound::fileFor(route, 4, options), QString());
        QCOMPARE(SteppingSound::fileFor(route, 5, options), QString());
        QCOMPARE(SteppingSound::fileFor(route, 6, options), QString()); // past the route
        options.alwaysSameSound = true;
        QCOMPARE(SteppingSound::fileFor(route, 4, options), QStringLiteral("always.wav"));
    }

    void storesOnlyWhatFitsTheTable()
    {
        DataIo table;
        QVERIFY(table.store(1, 1, QStringLiteral("駅前")));
        QVERIFY(table.store(301, 2, 7));
        QVERIFY(table.store(301, 152, -32768));
        QVERIFY(table.store(2, 3, 32767));
        QCOMPARE(table.slot(1).name, QStringLiteral("駅前"));
        QCOMPARE(table.slot(301).ticketNumber, qint16(7));
        QCOMPARE(table.slot(301).column(150), qint16(-32768));
        QCOMPARE(table.slot(2).column(1), qint16(32767));

        const DataIo before = table;
        QVERIFY(!table.store(0, 1, QStringLiteral("x")));
        QVERIFY(!table.store(302, 2, 1));
        QVERIFY(!table.store(1, 0, 1));
        QVERIFY(!table.store(1, 153, 1));
        QVERIFY(!table.store(1, 1, 5));                    // a name must be text
        QVERIFY(!table.store(1, 2, QStringLiteral("5")));  // a number must be a number
        QVERIFY(!table.store(1, 3, 32768));
        QVERIFY(!table.store(1, 3, 1.5));
        QVERIFY(table == before);

        QCOMPARE(table.slot(0), StopRecord{});
        QCOMPARE(table.slot(302), StopRecord{});
        table.clear();
        QVERIFY(table == DataIo{});
    }
};

QTEST_GUILESS_MAIN(tst_FareRoute)
#include "tst_FareRoute.moc"
