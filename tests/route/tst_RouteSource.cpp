#include "formats/Cp932.h"
#include "formats/Hy3File.h"
#include "app/FileReplacement.h"
#include "route/RouteBuilder.h"
#include "route/RouteFiles.h"
#include "route/RouteStopNames.h"
#include "sound/ReadingDictionary.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <thread>

namespace {

RouteSource sample()
{
    RouteSource source;
    source.route = QStringLiteral("12");
    source.selectorColumn = 120;
    source.rule.kind = FareRule::Kind::Distance;
    source.rule.bands = {{20, 160}, {55, 200}};
    source.stops = {{QStringLiteral("駅前"), QStringLiteral("えきまえ"), 0, QStringLiteral("A"), std::nullopt, RouteStop::Sound::Major,
                     35.531, 139.6967, {}, false},
                    {QStringLiteral("本町, \"北\""), QString(), 17, QString(), 5, RouteStop::Sound::Ordinary, std::nullopt, std::nullopt, {}, false},
                    {QStringLiteral("車庫前"), QStringLiteral("シャコマエ"), 55, QString(), std::nullopt, RouteStop::Sound::Terminal,
                     -33.5, -70.25, {}, false}};
    // A late trip into the next day, with a stop it gives no time.
    source.trips = {{QStringLiteral("便\t1"), QStringLiteral("車庫前行き"),
                     {QStringLiteral("平日"), std::array{true, true, true, true, true, false, false}, QDate(2024, 4, 1),
                      QDate(2025, 3, 31), {QDate(2024, 5, 3)}, {QDate(2024, 4, 29), QDate(2024, 5, 6)}},
                     {{23 * 3600 + 50 * 60, 23 * 3600 + 51 * 60}, {}, {25 * 3600 + 10 * 60 + 5, std::nullopt}}},
                    {QStringLiteral("2"), QString(), {QStringLiteral("臨時"), std::nullopt, {}, {}, {QDate(2024, 8, 15)}, {}},
                     {{6 * 3600, 6 * 3600}, {6 * 3600 + 300, 6 * 3600 + 330}, {6 * 3600 + 600, 6 * 3600 + 600}}}};
    source.overrides = {{3, 1, 210}};
    source.announcements = {{QStringLiteral("次は、本町, \"北\"です。"), 1, 2}, {QStringLiteral(" 空白 "), 0, -3}};
    source.readings = {{QStringLiteral("本町"), QStringLiteral("ほんまち")}};
    return source;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace

class tst_RouteSource : public QObject
{
    Q_OBJECT

private slots:
    void roundTripsEveryField()
    {
        RouteSource source = sample();
        source.stops[0].names = {{QStringLiteral("en"), QStringLiteral("Ekimae")}, {QStringLiteral("zh-Hans"), QStringLiteral("站前")}};
        source.stops[0].englishFromReading = true;
        source.stops[2].names = {{QStringLiteral("en"), QStringLiteral("Depot")}};
        source.englishAnnouncements = {QString(), QStringLiteral("Space")};
        source.headsignNames = {{QStringLiteral("ko"), QStringLiteral("차고")}};
        QString error;
        const std::optional<RouteSource> again = RouteSource::fromJson(source.toJson(), error);
        QVERIFY2(again, qPrintable(error));
        QCOMPARE(again->stops, source.stops);
        QCOMPARE(again->overrides, source.overrides);
        QCOMPARE(again->selectorColumn, 120);
        QCOMPARE(again->rule.bands.size(), size_t(2));
        QCOMPARE(again->rule.bands[1].upToTenths, 55);
        QCOMPARE(again->announcements.size(), 2);
        QCOMPARE(again->announcements[0].Text, source.announcements[0].Text);
        QCOMPARE(again->announcements[1].SoundFlag, qint16(-3));
        QCOMPARE(again->readings, source.readings);
        QCOMPARE(again->englishAnnouncements, source.englishAnnouncements);
        QCOMPARE(again->headsignNames, source.headsignNames);
        QVERIFY(again->trips == source.trips);
        QCOMPARE(again->toJson(), source.toJson());
        QVERIFY(source.toJson().contains(R"("departure": "23:51:00")"));
        QVERIFY(source.toJson().contains(R"("arrival": "25:10:05")"));
    }

    // The display names the stop it shows in every language from the source
    // beside its fare data, and only while the two have the same stops.
    void namesWhileRunningComeFromTheSourceBesideTheFareData()
    {
        QTemporaryDir dir;
        RouteSource source = sample();
        source.stops[1].names = {{QStringLiteral("ko"), QStringLiteral("혼마치")}};
        QString error;
        std::optional<RouteFiles::Output> output = RouteFiles::build(source, {}, dir.path(), true, error);
        QVERIFY2(output && RouteFiles::write(*output, dir.path(), error), qPrintable(error));
        const QString fare = dir.filePath(QStringLiteral("12.hy3"));
        QStringList names;
        for (const RouteStop &stop : source.stops) {
            names << stop.name;
        }
        const RouteStopNames running = RouteStopNames::forFareFile(fare, names, error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(running.names(1), (QMap<QString, QString>{{QStringLiteral("ja"), QStringLiteral("駅前")},
                                                           {QStringLiteral("kana"), QStringLiteral("えきまえ")},
                                                           {QStringLiteral("en"), QStringLiteral("Ekimae")}}));
        QCOMPARE(running.names(2).value(QStringLiteral("ko")), QStringLiteral("혼마치"));
        QVERIFY(running.names(4).isEmpty());

        names[2] = QStringLiteral("車庫");
        QVERIFY(RouteStopNames::forFareFile(fare, names, error).isEmpty());
        QVERIFY2(error.contains(QStringLiteral("12.route.json")), qPrintable(error));
    }

    void refusesNamingTheKey_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("named");
        const QByteArray head = R"({"format":"tavelo-route","version":1,"route":"12","fareRule":{"kind":"flat","fare":200},)";
        QTest::newRow("not json") << QByteArray("{") << QStringLiteral("JSON");
        QTest::newRow("other version") << QByteArray(R"({"format":"tavelo-route","version":2})") << QStringLiteral("version");
        QTest::newRow("kind") << QByteArray(R"({"format":"tavelo-route","version":1,"fareRule":{"kind":"taxi"}})") << QStringLiteral("taxi");
        QTest::newRow("km") << head + R"("stops":[{"name":"a"},{"name":"b","km":1.25}]})" << QStringLiteral("stops[1]: \"km\" は 0.1 km");
        QTest::newRow("sound") << head + R"("stops":[{"name":"a","sound":"loud"}]})" << QStringLiteral("stops[0]");
        QTest::newRow("flag") << head + R"("announcements":[{"text":"a","step":40000}]})" << QStringLiteral("announcements[0]");
        // Values of the wrong type are refused, not read as empty ones.
        QTest::newRow("stops of numbers") << head + R"("stops":[1,2,3]})" << QStringLiteral("stops[0]: オブジェクト");
        QTest::newRow("overrides not an array") << head + R"("overrides":{"stop":1}})" << QStringLiteral("\"overrides\" は配列ではありません");
        const QByteArray trip = head + R"("stops":[{"name":"a","lat":35.5,"lon":139.7},{"name":"b"}],"trips":[{"id":"1","service":{"id":"s"},)";
        QTest::newRow("lat") << head + R"("stops":[{"name":"a","lat":95}]})" << QStringLiteral("stops[0]: \"lat\"");
        QTest::newRow("time") << trip + R"("times":[{"arrival":"7:60:00"},{}]}]})" << QStringLiteral("trips[0].times[0]: \"arrival\" は時刻");
        QTest::newRow("times a stop") << trip + R"("times":[{}]}]})" << QStringLiteral("trips[0]: \"times\" が 1");
        QTest::newRow("day") << head + R"("trips":[{"id":"1","service":{"id":"s","days":["mon","xyz"]},"times":[]}]})"
                             << QStringLiteral("trips[0].service: \"days\"");
        QTest::newRow("sound not a text") << head + R"("stops":[{"name":"a","sound":3}]})" << QStringLiteral("stops[0]: \"sound\" は文字列");
        // Far beyond any integer: refused, not converted.
        QTest::newRow("fare 1e300") << QByteArray(R"({"format":"tavelo-route","version":1,"fareRule":{"kind":"flat","fare":1e300}})")
                                    << QStringLiteral("\"fare\" は整数ではありません");
    }

    void refusesNamingTheKey()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, named);
        QString error;
        QVERIFY(!RouteSource::fromJson(json, error));
        QVERIFY2(error.contains(named), qPrintable(error));
    }

    void buildsTheRouteFilesByteExact()
    {
        QTemporaryDir dir;
        // An existing dictionary keeps its bytes and its missing final line
        // break; its entry for 駅前, which the source reads otherwise, takes
        // the source's reading in its place.
        const QByteArray existing = Cp932::encode(QStringLiteral("# 読み\r\n港,みなと\r\n駅前,えきまえみなみ"));
        QFile dictionary(dir.filePath(QStringLiteral("yomi.txt")));
        QVERIFY(dictionary.open(QIODevice::WriteOnly));
        dictionary.write(existing);
        dictionary.close();

        const RouteSource source = sample();
        QString error;
        std::optional<RouteFiles::Output> output =
            RouteFiles::build(source, RouteFiles::sourceReadings(source), dir.path(), true, error);
        QVERIFY2(output, qPrintable(error));
        QVERIFY(RouteFiles::write(*output, dir.path(), error));
        QCOMPARE(output->changes, QStringList{QStringLiteral("yomi.txt の「駅前」の読みを「エキマエミナミ」から「エキマエ」に改めました")});

        QCOMPARE(readAll(dir.filePath(QStringLiteral("12tp.csv"))),
                 Cp932::encode(QStringLiteral("\"次は、本町, \"\"北\"\"です。\",1,2\r\n\" 空白 \",0,-3\r\n")));
        // ... and the program reads back what was written.
        const TapeCsvContents tape = TapeCsv::parse(readAll(dir.filePath(QStringLiteral("12tp.csv"))));
        QVERIFY(tape.errors.isEmpty());
        QCOMPARE(tape.records.size(), 2);
        QCOMPARE(tape.records[0].Text, source.announcements[0].Text);
        QCOMPARE(tape.records[1].Text, source.announcements[1].Text);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("yomi.txt"))),
                 Cp932::encode(QStringLiteral("# 読み\r\n港,みなと\r\n駅前,えきまえ\r\n車庫前,シャコマエ\r\n本町,ほんまち\r\n")));
        const Hy3File::Contents hy3 = Hy3File::parse(readAll(dir.filePath(QStringLiteral("12.hy3"))));
        QCOMPARE(hy3.problem, Hy3File::Problem::None);
        QCOMPARE(hy3.records, RouteBuilder(source).records());
        QCOMPARE(hy3.records[2].column(1), qint16(210));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("12.route.json"))), source.toJson());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 4); // no temporaries left
    }

    // Readings merged into a large dictionary: every new written form once,
    // the same reading kept, and a different reading of one replaced and said.
    void mergesManyReadingsIntoALargeDictionary()
    {
        constexpr int Existing = 20000;
        constexpr int Added = 40000;
        QByteArray existing;
        for (int i = 0; i < Existing; ++i) {
            existing += Cp932::encode(QStringLiteral("地名%1,ちめい\r\n").arg(i));
        }
        QList<QPair<QString, QString>> readings;
        for (int i = Existing - Added / 2; i < Existing + Added / 2; ++i) {
            readings.append({QStringLiteral("地名%1").arg(i), i == 0 ? QStringLiteral("じめい") : QStringLiteral("ちめい")});
        }
        readings.append({QStringLiteral("地名%1").arg(Existing), QStringLiteral("ちめい")}); // twice in the source
        const RouteFiles::MergedReadings merged = RouteFiles::mergedReadings(existing, readings);
        QVERIFY(merged.warnings.isEmpty());
        QCOMPARE(merged.changes, QStringList{QStringLiteral("yomi.txt の「地名0」の読みを「チメイ」から「ジメイ」に改めました")});
        const QByteArray first = Cp932::encode(QStringLiteral("地名0,ちめい\r\n"));
        QVERIFY(merged.bytes.startsWith(Cp932::encode(QStringLiteral("地名0,じめい\r\n")) + existing.mid(first.size())));
        QCOMPARE(merged.bytes.count('\n'), Existing + Added / 2);
        QVERIFY(merged.bytes.endsWith(Cp932::encode(QStringLiteral("\r\n地名%1,ちめい\r\n").arg(Existing + Added / 2 - 1))));
    }

    // What the display could not read is not written: announcements beyond
    // the reader's 4 MB, a reading dictionary grown past it.
    void filesTheDisplayCannotReadAreNotWritten_data()
    {
        QTest::addColumn<bool>("longAnnouncement");
        QTest::addColumn<QString>("named");
        QTest::newRow("tp.csv") << true << QStringLiteral("12tp.csv");
        QTest::newRow("yomi.txt") << false << QStringLiteral("yomi.txt");
    }

    void filesTheDisplayCannotReadAreNotWritten()
    {
        QFETCH(bool, longAnnouncement);
        QFETCH(QString, named);
        QTemporaryDir dir;
        RouteSource source = sample();
        QByteArray dictionary;
        if (longAnnouncement) {
            source.announcements.append({QString(TapeCsv::MaxFileBytes / 2 + 1, QChar(u'案')), 0, 0});
        } else {
            dictionary = QByteArray(ReadingDictionary::MaxFileBytes - 8, '#');
            QFile file(dir.filePath(QStringLiteral("yomi.txt")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(dictionary);
        }
        QString error;
        QVERIFY(!RouteFiles::build(source, RouteFiles::sourceReadings(source), dir.path(), true, error));
        QVERIFY2(error.contains(named) && error.contains(QStringLiteral("上限の 4 MB")), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), longAnnouncement ? QStringList() : QStringList{QStringLiteral("yomi.txt")});
    }

    // Two saves into one folder: one merging yomi.txt holds its lock while
    // it writes; the other waits and merges into what it wrote, so neither
    // loses its readings.
    void savesIntoOneFolderMergeYomiInTurn()
    {
        QTemporaryDir dir;
        const RouteSource source = sample();
        QString error;
        std::optional<RouteFiles::Output> output =
            RouteFiles::build(source, RouteFiles::sourceReadings(source), dir.path(), false, error);
        QVERIFY2(output, qPrintable(error));
        const QString dictionary = dir.filePath(QStringLiteral("yomi.txt"));
        QLockFile other(dictionary + QStringLiteral(".lock"));
        QVERIFY(other.tryLock(0));
        std::thread otherSave([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            FileReplacement::write(dictionary, Cp932::encode(QStringLiteral("港,みなと\r\n")));
            other.unlock();
        });
        const bool written = RouteFiles::write(*output, dir.path(), error);
        otherSave.join();
        QVERIFY2(written, qPrintable(error));
        QCOMPARE(readAll(dictionary),
                 Cp932::encode(QStringLiteral("港,みなと\r\n駅前,えきまえ\r\n車庫前,シャコマエ\r\n本町,ほんまち\r\n")));
    }

    // The files of a save go in together, also into the display's two
    // folders: when one cannot be put in place, none is.
    void aSaveOfSeveralFilesIsAllOrNothing()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("fares")) && QDir(dir.path()).mkpath(QStringLiteral("tapes/12tp.csv")));
        const QString fares = dir.filePath(QStringLiteral("fares/12.hy3"));
        QVERIFY(FileReplacement::write(fares, "old fares"));
        const RouteSource source = sample();
        QString error;
        std::optional<RouteFiles::Output> output =
            RouteFiles::build(source, RouteFiles::sourceReadings(source), dir.filePath(QStringLiteral("tapes")), false, error);
        QVERIFY2(output, qPrintable(error));
        QVERIFY(!RouteFiles::write(*output, dir.filePath(QStringLiteral("fares")), dir.filePath(QStringLiteral("tapes")), error));
        QVERIFY2(error.contains(QStringLiteral("12tp.csv")), qPrintable(error));
        QCOMPARE(readAll(fares), QByteArray("old fares"));
        QCOMPARE(QDir(dir.filePath(QStringLiteral("fares"))).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("12.hy3")});
        QCOMPARE(QDir(dir.filePath(QStringLiteral("tapes"))).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void aRefusedRouteWritesNothing()
    {
        QTemporaryDir dir;
        RouteSource source = sample();
        source.announcements.append({QStringLiteral("😀"), 0, 0});
        QString error;
        QVERIFY(!RouteFiles::build(source, {}, dir.path(), true, error));
        QVERIFY2(error.contains(QStringLiteral("放送 3")), qPrintable(error));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_RouteSource)
#include "tst_RouteSource.moc"
