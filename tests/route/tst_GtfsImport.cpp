#include "formats/Cp932.h"
#include "formats/Hy3File.h"
#include "route/GtfsImport.h"
#include "route/GtfsProgress.h"
#include "route/RouteBuilder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <zip.h>

#include <sys/stat.h>

using FeedFiles = QHash<QString, QByteArray>;
Q_DECLARE_METATYPE(FeedFiles)

namespace {

const QString DataDir = QStringLiteral(TAVELO_ROUTE_DATA);

struct Run
{
    int exitCode = -1;
    QString err;
    QStringList written;
};

Run importGtfs(const QString &outDir, const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(HY3TOOL), QStringList{QStringLiteral("import-gtfs")} + arguments
                                            + QStringList{QStringLiteral("--out"), outDir});
    tool.waitForFinished(60000);
    Run run;
    run.exitCode = tool.exitCode();
    run.err = QString::fromUtf8(tool.readAllStandardError());
    run.written = QDir(outDir).entryList(QDir::Files, QDir::Name);
    return run;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<StopRecord> board(const QString &path)
{
    const Hy3File::Contents contents = Hy3File::parse(readAll(path));
    return contents.problem == Hy3File::Problem::None ? contents.records : std::vector<StopRecord>{};
}

// A copy of the messy feed with files replaced (removed when empty).
QString copyOfMessyFeed(const QTemporaryDir &dir, const FeedFiles &files)
{
    const QString feed = dir.filePath(QStringLiteral("feed"));
    QDir().mkpath(feed);
    const QDir source(DataDir + QStringLiteral("/messy"));
    for (const QString &name : source.entryList(QDir::Files)) {
        QFile::copy(source.filePath(name), feed + u'/' + name);
    }
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QFile::remove(feed + u'/' + it.key());
        QFile out(feed + u'/' + it.key());
        if (!it.value().isEmpty() && out.open(QIODevice::WriteOnly)) {
            out.write(it.value());
        }
    }
    return feed;
}

// Route R1 as trip 12 runs it, from the feed at `path`; nothing with the
// reason in `error` when the feed cannot be opened or imported.
std::optional<GtfsImport::Result> importTrip12(const QString &path, QString &error)
{
    const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(path, error);
    if (!feed) {
        return std::nullopt;
    }
    return GtfsImport::run(*feed, {QStringLiteral("R1"), QStringLiteral("12"), std::nullopt, QString()}, error);
}

// The messy feed's files with some replaced, as one zip: in each of
// `folders` ("" for the top).
bool writeZip(const QString &path, const FeedFiles &replaced, const QStringList &folders = {QString()})
{
    FeedFiles files;
    const QDir source(DataDir + QStringLiteral("/messy"));
    for (const QString &name : source.entryList(QDir::Files)) {
        files.insert(name, readAll(source.filePath(name)));
    }
    files.insert(replaced);
    int code = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (zip == nullptr) {
        return false;
    }
    for (const QString &folder : folders) {
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            zip_source_t *bytes = zip_source_buffer(zip, it.value().constData(), zip_uint64_t(it.value().size()), 0);
            if (bytes == nullptr || zip_file_add(zip, (folder + it.key()).toUtf8().constData(), bytes, ZIP_FL_ENC_UTF_8) < 0) {
                zip_source_free(bytes);
                zip_discard(zip);
                return false;
            }
        }
    }
    return zip_close(zip) == 0;
}

// Writes `value` over a field of entry `name`'s headers, little-endian, as
// a crafted or carelessly written archive has it: at `localField` of its
// local header and `centralField` of its central one (-1: that one not).
bool patchHeaders(const QString &path, const QByteArray &name, int localField, int centralField, quint32 value,
                  int width)
{
    QByteArray bytes = readAll(path);
    int patched = 0;
    for (const auto &[signature, nameAt, field] : {std::tuple{QByteArray("PK\x03\x04"), 30, localField},
                                                   std::tuple{QByteArray("PK\x01\x02"), 46, centralField}}) {
        for (qsizetype at = bytes.indexOf(signature); field >= 0 && at >= 0; at = bytes.indexOf(signature, at + 4)) {
            if (bytes.mid(at + nameAt, name.size()) == name) {
                for (int i = 0; i < width; ++i) {
                    bytes[at + field + i] = char((value >> (8 * i)) & 0xFF);
                }
                ++patched;
            }
        }
    }
    QFile file(path);
    return patched == (localField >= 0) + (centralField >= 0) && file.open(QIODevice::WriteOnly)
        && file.write(bytes) == bytes.size();
}

// Makes both headers of entry `name` declare `size` inflated bytes.
bool declareSize(const QString &path, const QByteArray &name, quint32 size)
{
    return patchHeaders(path, name, 22, 24, size, 4);
}

// Flips a byte in the middle of entry `name`'s data.
bool damageData(const QString &path, const QByteArray &name)
{
    QByteArray bytes = readAll(path);
    for (qsizetype local = bytes.indexOf("PK\x03\x04"); local >= 0; local = bytes.indexOf("PK\x03\x04", local + 4)) {
        if (bytes.mid(local + 30, name.size()) != name) {
            continue;
        }
        const int nameLength = quint8(bytes[local + 26]) | quint8(bytes[local + 27]) << 8;
        const int extraLength = quint8(bytes[local + 28]) | quint8(bytes[local + 29]) << 8;
        const int size = quint8(bytes[local + 18]) | quint8(bytes[local + 19]) << 8;
        bytes[local + 30 + nameLength + extraLength + size / 2] ^= 0x5A;
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    return false;
}

// Reads a feed through another, asking it to stop once `stopAt` is read,
// and keeps which files were read.
class StoppingFeed : public GtfsFeed
{
public:
    StoppingFeed(std::unique_ptr<GtfsFeed> feed, QString stopAt)
        : GtfsFeed(DefaultBudget)
        , m_feed(std::move(feed))
        , m_stopAt(std::move(stopAt))
    {
        setProgress(&m_progress);
    }

    QStringList filesRead;

protected:
    std::optional<QByteArray> readFile(const QString &name, qint64, QString &error) override
    {
        filesRead << name;
        if (name == m_stopAt) {
            m_progress.cancel();
        }
        return m_feed->read(name, error);
    }

private:
    std::unique_ptr<GtfsFeed> m_feed;
    QString m_stopAt;
    GtfsProgress m_progress;
};

} // namespace

class tst_GtfsImport : public QObject
{
    Q_OBJECT

private slots:
    void messyFeedGivesTheBoardWorkedOutByHand_data()
    {
        QTest::addColumn<QString>("feed");
        QTest::newRow("folder") << DataDir + QStringLiteral("/messy");
        QTest::newRow("zip") << DataDir + QStringLiteral("/messy.zip");
    }

    void messyFeedGivesTheBoardWorkedOutByHand()
    {
        QFETCH(QString, feed);
        QTemporaryDir out;
        const Run run = importGtfs(out.path(), {feed, "--route", "R1", "--number", "012"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(run.written, QStringList({"12.hy3", "12.route.json", "12tp.csv", "12tp.en.csv", "yomi.txt"}));
        // One warning for the contains_id rule, one for the pair B -> C
        // that no rule prices.
        QVERIFY2(run.err.contains(QStringLiteral("contains_id のある規則 1 件")), qPrintable(run.err));
        QVERIFY2(run.err.contains(QStringLiteral("運賃のない組が 1 あり")), qPrintable(run.err));

        // T1 and T2 share a pattern (T2's stop_times out of order); stops 1
        // and 2 are both zone A and draw ticket 1. A -> B: the lower of 220
        // and 200; A -> C: the route's 250 against 240 for any route.
        const std::vector<StopRecord> records = board(out.filePath(QStringLiteral("12.hy3")));
        QCOMPARE(records.size(), size_t(4));
        const QString names[] = {"駅前", "本町,北口", "\"三丁目\"", "車庫前"};
        const qint16 ticketNumbers[] = {1, 1, 2, 0};
        const qint16 fares[4][2] = {{0, 0}, {150, 0}, {200, 0}, {240, -1}};
        for (size_t n = 0; n < 4; ++n) {
            QCOMPARE(records[n].name, names[n]);
            QCOMPARE(records[n].ticketNumber, ticketNumbers[n]);
            QCOMPARE(records[n].column(1), fares[n][0]);
            QCOMPARE(records[n].column(2), fares[n][1]);
            QCOMPARE(records[n].column(3), qint16(0));
            QCOMPARE(records[n].column(150), qint16(n == 3 ? 3 : 1));
        }
        QCOMPARE(readAll(out.filePath(QStringLiteral("12tp.csv"))),
                 Cp932::encode(QStringLiteral("ご乗車ありがとうございます。このバスは、車庫前行きです。,0,0\r\n"
                                              "\"次は、本町,北口です。\",1,0\r\n"
                                              "\"次は、\"\"三丁目\"\"です。\",1,0\r\n"
                                              "次は、終点、車庫前です。,1,0\r\n")));
        // The newer translations: by stop (S1) and by name (車庫前); English ignored.
        QCOMPARE(readAll(out.filePath(QStringLiteral("yomi.txt"))),
                 Cp932::encode(QStringLiteral("駅前,えきまえ\r\n車庫前,しゃこまえ\r\n")));
    }

    void patternFollowsDirectionAndTrip()
    {
        GtfsImport::Request request{QStringLiteral("R1"), QStringLiteral("12"), 1, QString()};
        QString error;
        const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(DataDir + QStringLiteral("/messy"), error);
        QVERIFY(feed);
        std::optional<GtfsImport::Result> result = GtfsImport::run(*feed, request, error);
        QVERIFY2(result, qPrintable(error));
        QCOMPARE(result->source.stops.size(), size_t(3)); // T3: S1, S3, S4
        QCOMPARE(result->source.stops[1].ticket, 2);
        request.direction.reset();
        request.tripId = QStringLiteral("T3");
        result = GtfsImport::run(*feed, request, error);
        QVERIFY2(result, qPrintable(error));
        QCOMPARE(result->source.stops.size(), size_t(3));
        request.tripId = QStringLiteral("T9"); // a trip of another route
        QVERIFY(!GtfsImport::run(*feed, request, error));
        QVERIFY2(error.contains(QStringLiteral("T9")), qPrintable(error));
    }

    void sampleFeedGivesTheZoneFares()
    {
        QTemporaryDir out;
        const Run run = importGtfs(out.path(), {DataDir + QStringLiteral("/sample-kawasaki"), "--route", "21000-0",
                                                "--number", "57", "--names", "stop"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const std::vector<StopRecord> records = board(out.filePath(QStringLiteral("57.hy3")));
        // 21 stops, each its own zone: tickets 1 to 20, none at the end.
        QCOMPARE(records.size(), size_t(21));
        QCOMPARE(records[0].name, QStringLiteral("川崎駅西口59番のりば"));
        QCOMPARE(records[19].ticketNumber, qint16(20));
        QCOMPARE(records[20].ticketNumber, qint16(0));
        // fare_rules.txt by hand: 1510-59 -> 1530-01 FA_190, -> 1535-01
        // FA_200; 1530-01 -> 1535-01 FA_190; to the terminal 1510-01 from
        // 1510-59 FA_280, 1530-01 FA_270, 2040-02 FA_200, 1530-02 FA_190.
        QCOMPARE(records[1].column(1), qint16(190));
        QCOMPARE(records[2].column(1), qint16(200));
        QCOMPARE(records[2].column(2), qint16(190));
        QCOMPARE(records[2].column(3), qint16(0));
        const qint16 toTerminal[] = {280, 270};
        QCOMPARE(records[20].column(1), toTerminal[0]);
        QCOMPARE(records[20].column(2), toTerminal[1]);
        QCOMPARE(records[20].column(19), qint16(200));
        QCOMPARE(records[20].column(20), qint16(190));
        // The older translations read the name in pieces: the pieces go to
        // the dictionary, a name read in full keeps its reading.
        const QString yomi = Cp932::decode(readAll(out.filePath(QStringLiteral("yomi.txt"))));
        QVERIFY2(yomi.startsWith(QStringLiteral("川崎駅西口59番のりば,かわさきえきにしぐち59ばんのりば\r\n")), qPrintable(yomi));
        QVERIFY2(yomi.contains(QStringLiteral("\r\n末吉橋,すえよしばし\r\n")), qPrintable(yomi));
    }

    void namesInOtherLanguagesComeFromEitherTranslationsForm()
    {
        using Names = QMap<QString, QString>;
        const auto imported = [](const QString &folder) {
            QString error;
            const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(DataDir + folder, error);
            std::optional<GtfsImport::Result> result;
            if (feed) {
                result = GtfsImport::run(*feed, {QStringLiteral("R1"), QStringLiteral("51"), {}, QString()}, error);
            }
            if (!result) {
                qWarning("%s", qPrintable(error));
            }
            return result;
        };
        // Keyed by the Japanese text; a stop without English gets it from
        // its reading, one without a whole reading gets none.
        std::optional<GtfsImport::Result> older = imported(QStringLiteral("/names-older"));
        QVERIFY(older);
        const std::vector<RouteStop> &stops = older->source.stops;
        QCOMPARE(stops[0].names, (Names{{"en", "Bito Station"}, {"zh-Hant", "美杜站"}}));
        QCOMPARE(stops[1].names, (Names{{"en", "Shiyakusho-mae"}, {"ko", "시청앞"}, {"zh-Hans", "市政府前"}}));
        QVERIFY(stops[1].englishFromReading && !stops[0].englishFromReading);
        QCOMPARE(stops[2].names, Names());
        QCOMPARE(older->source.headsignNames, (Names{{"en", "Higashi Depot"}, {"ko", "히가시 차고"}}));
        QCOMPARE(older->source.englishAnnouncements,
                 QStringList({"Thank you for riding. This bus is bound for Higashi Depot.",
                              "The next stop is Shiyakusho-mae.", "The next stop is 本町二丁目.",
                              "The next stop is Higashi Depot, the last stop."}));

        // Keyed by stop or by text, tags in any case; Japanese itself is no
        // other language, one the display may not know is kept.
        QTemporaryDir out;
        const Run run = importGtfs(out.path(), {DataDir + QStringLiteral("/names-newer"), "--route", "R1", "--number", "51"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QString error;
        const std::optional<RouteSource> newer = RouteSource::readFile(out.filePath(QStringLiteral("51.route.json")), error);
        QVERIFY2(newer, qPrintable(error));
        QCOMPARE(newer->stops[0].names, (Names{{"en", "East Office"}}));
        QCOMPARE(newer->stops[1].names, (Names{{"en", "Shiyakusho-mae"}, {"ko", "시청앞"}, {"zh-Hans", "市政府前"}}));
        QCOMPARE(newer->stops[2].names, (Names{{"en", "Honmachi 2-chome"}}));
        QVERIFY(newer->stops[2].englishFromReading && !newer->stops[3].englishFromReading);
        QCOMPARE(newer->stops[3].names, (Names{{"en", "Bito Station"}, {"fr", "Gare de Bito"}, {"zh-Hant", "美杜站"}}));
        QCOMPARE(newer->headsignNames, (Names{{"en", "Bito Station"}}));
        // The English file beside the Japanese one, line for line.
        QCOMPARE(run.written, QStringList({"51.hy3", "51.route.json", "51tp.csv", "51tp.en.csv", "yomi.txt"}));
        QCOMPARE(readAll(out.filePath(QStringLiteral("51tp.en.csv"))),
                 QByteArray("Thank you for riding. This bus is bound for Bito Station.,0,0\r\n"
                            "The next stop is Shiyakusho-mae.,1,0\r\n"
                            "The next stop is Honmachi 2-chome.,1,0\r\n"
                            "\"The next stop is Bito Station, the last stop.\",1,0\r\n"));
    }

    void longRoutesAreNumberedByFareStage()
    {
        // 120 stops, each its own zone, in fare stages of three stops: the
        // fare rises 30 yen for every stage entered after the first.
        const auto stage = [](int i) { return i / 3; };
        const auto fareOf = [&](int i, int j) { return 150 + 30 * (stage(j) - stage(i)); };
        QByteArray stops = "stop_id,stop_name,zone_id\n";
        QByteArray times = "trip_id,stop_id,stop_sequence\n";
        QByteArray attributes = "fare_id,price\n";
        QByteArray rules = "fare_id,route_id,origin_id,destination_id\n";
        for (int i = 0; i < 120; ++i) {
            const QByteArray n = QByteArray::number(i);
            stops += "S" + n + ",停" + n + ",Z" + n + "\n";
            times += "T1,S" + n + "," + n + "\n";
            attributes += "F" + n + "," + QByteArray::number(fareOf(0, 3 * i)) + "\n";
            for (int j = i + 1; j < 120; ++j) {
                rules += "F" + QByteArray::number(stage(j) - stage(i)) + ",R1,Z" + n + ",Z" + QByteArray::number(j) + "\n";
            }
        }
        QTemporaryDir dir;
        const QString feedPath = copyOfMessyFeed(
            dir, {{"stops.txt", stops}, {"stop_times.txt", times}, {"fare_attributes.txt", attributes}, {"fare_rules.txt", rules}});
        QString error;
        const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(feedPath, error);
        QVERIFY(feed);
        GtfsImport::Request request{QStringLiteral("R1"), QStringLiteral("12"), std::nullopt, QString()};
        const std::optional<GtfsImport::Result> result = GtfsImport::run(*feed, request, error);
        QVERIFY2(result, qPrintable(error));
        QVERIFY2(result->warnings.join(u'\n').contains(QStringLiteral("停留所ごとでは整理券番号が 119 必要なため、運賃の段ごとに 40 までの番号にしました")),
                 qPrintable(result->warnings.join(u'\n')));
        // Whoever boarded at any stop of a stage sees their own fare.
        const RouteBuilder builder(result->source);
        const std::vector<int> &tickets = builder.tickets();
        QCOMPARE(*std::max_element(tickets.begin(), tickets.end()), 40);
        QStringList wrong;
        for (int i = 0; i < 119; ++i) {
            for (int j = i + 1; j < 120; ++j) {
                if (builder.fare(j + 1, tickets[size_t(i)]) != fareOf(i, j)) {
                    wrong << QStringLiteral("%1->%2").arg(i).arg(j);
                }
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 10).join(u' ')));
        request.tickets = GtfsImport::Tickets::ByStop;
        QVERIFY(!GtfsImport::run(*feed, request, error));
        QVERIFY2(error.contains(QStringLiteral("整理券番号が 119 必要")), qPrintable(error));
    }

    void feedsWithoutRulesTakeTheirOnePrice_data()
    {
        QTest::addColumn<QByteArray>("attributes");
        QTest::addColumn<int>("fare");
        QTest::addColumn<QString>("warned");
        QTest::newRow("one price") << QByteArray("fare_id,price\nF1,200\nF2,200.0\n") << 200 << QString();
        QTest::newRow("several prices") << QByteArray("fare_id,price\nF1,200\nF2,300\n") << -1
                                        << QStringLiteral("運賃が 1 つではないため（F1 200 円, F2 300 円）");
    }

    void feedsWithoutRulesTakeTheirOnePrice()
    {
        QFETCH(QByteArray, attributes);
        QFETCH(int, fare);
        QFETCH(QString, warned);
        QTemporaryDir dir;
        const QString feedPath = copyOfMessyFeed(dir, {{"fare_rules.txt", {}}, {"fare_attributes.txt", attributes}});
        QString error;
        const std::optional<GtfsImport::Result> result = importTrip12(feedPath, error);
        QVERIFY2(result, qPrintable(error));
        const RouteBuilder builder(result->source);
        for (const auto &[stop, ticket] : {std::pair{2, 1}, std::pair{3, 1}, std::pair{4, 1}, std::pair{4, 2}}) {
            QCOMPARE(builder.fare(stop, ticket), fare);
        }
        const QString warnings = result->warnings.join(u'\n');
        QVERIFY2(warned.isEmpty() ? warnings.isEmpty() : warnings.contains(warned), qPrintable(warnings));
    }

    void ridesTheTimetableForbidsAreBlank()
    {
        // Nobody alights at S2 and nobody boards at S3: S3 draws no ticket
        // (so the B -> C pair that no rule prices is never needed), and the
        // A -> A ride to S2 is blank.
        QTemporaryDir dir;
        const QString feedPath = copyOfMessyFeed(dir, {{"stop_times.txt", "trip_id,stop_id,stop_sequence,pickup_type,drop_off_type\n"
                                                                          "T1,S1,1,0,1\nT1,S2,2,0,1\nT1,S3,3,1,0\nT1,S4,4,1,0\n"}});
        QString error;
        const std::optional<GtfsImport::Result> result = importTrip12(feedPath, error);
        QVERIFY2(result, qPrintable(error));
        const RouteBuilder builder(result->source);
        QCOMPARE(builder.tickets(), std::vector<int>({1, 1, 0, 0}));
        QCOMPARE(builder.fare(2, 1), 0);
        QCOMPARE(builder.fare(3, 1), 200);
        QCOMPARE(builder.fare(4, 1), 240);
        QCOMPARE(builder.fare(4, 2), 0);
        QVERIFY2(!result->warnings.join(u'\n').contains(QStringLiteral("運賃のない組")), qPrintable(result->warnings.join(u'\n')));
    }

    void tripsOfThePatternComeWithTheirTimesAndTheStopsPositions()
    {
        // T1 and T2 run the chosen pattern (T2's lines out of order), T3
        // another; T1 keeps no time at two stops between its ends and runs
        // past midnight.
        QTemporaryDir dir;
        const QString feedPath = copyOfMessyFeed(
            dir, {{"stop_times.txt", "trip_id,arrival_time,departure_time,stop_sequence,stop_id\n"
                                     "T1,23:50:00,23:51:00,10,S1\nT1,,,20,S2\nT1, , ,30,S3\nT1,24:21:00,24:21:00,40,S4\n"
                                     "T2,07:09:00,07:09:00,40,S4\nT2,07:00:00,07:00:00,10,S1\n"
                                     "T2,07:03:00,07:03:30,20,S2\nT2,07:06:00,,30,S3\n"
                                     "T3,08:00:00,08:00:00,1,S1\nT3,08:05:00,08:05:00,2,S4\n"},
                  {"trips.txt", "trip_id,service_id,route_id,trip_headsign\nT1,wd,R1,\"車庫\t前\"\nT2,sat,R1,\nT3,wd,R1,\n"},
                  {"stops.txt", "stop_id,stop_name,zone_id,stop_lat,stop_lon\nS1,駅前,A,35.5316,139.6969\n"
                                "S2,本町,A,,\nS3,三丁目,B,95.0,139.7\nS4,車庫前,C,35.54,139.71\n"},
                  {"calendar.txt", "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,end_date\n"
                                   "wd,1,1,1,1,1,0,0,20240401,20250331\n"},
                  {"calendar_dates.txt", "service_id,date,exception_type\nwd,20240506,2\nsat,20240815,1\nwd,20240503,1\n"}});
        QString error;
        const std::optional<GtfsImport::Result> result = importTrip12(feedPath, error);
        QVERIFY2(result, qPrintable(error));
        const RouteSource &source = result->source;
        QCOMPARE(source.stops.size(), size_t(4));
        QCOMPARE(source.stops[0].lat, std::optional(35.5316));
        QCOMPARE(source.stops[0].lon, std::optional(139.6969));
        QVERIFY(!source.stops[1].lat && !source.stops[2].lat && !source.stops[2].lon); // none, and out of range
        QVERIFY2(result->warnings.join(u'\n').contains(QStringLiteral("stop_lon が読めない停留所は位置なしにします（S3）")),
                 qPrintable(result->warnings.join(u'\n')));
        QCOMPARE(source.trips.size(), size_t(2));
        const auto at = [](int h, int m, int s = 0) { return std::optional<int>((h * 60 + m) * 60 + s); };
        const RouteTrip &late = source.trips[0];
        QCOMPARE(late.id, QStringLiteral("T1"));
        QCOMPARE(late.times, std::vector<StopTime>({{at(23, 50), at(23, 51)}, {at(24, 1), at(24, 1)},
                                                    {at(24, 11), at(24, 11)}, {at(24, 21), at(24, 21)}}));
        QCOMPARE(late.service.weekdays, std::optional(std::array{true, true, true, true, true, false, false}));
        QCOMPARE(late.service.from, QDate(2024, 4, 1));
        QCOMPARE(late.service.dates, std::vector<QDate>({QDate(2024, 5, 3)}));
        QCOMPARE(late.service.exceptDates, std::vector<QDate>({QDate(2024, 5, 6)}));
        const RouteTrip &morning = source.trips[1];
        QCOMPARE(morning.times[2], (StopTime{at(7, 6), at(7, 6)}));
        QVERIFY(!morning.service.weekdays);
        QCOMPARE(morning.service.dates, std::vector<QDate>({QDate(2024, 8, 15)}));

        // Written to the route source and listed from it.
        QTemporaryDir out;
        const Run run = importGtfs(out.path(), {feedPath, "--route", "R1", "--number", "12"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QProcess tool;
        tool.start(QStringLiteral(HY3TOOL), {QStringLiteral("trips"), out.filePath(QStringLiteral("12.route.json"))});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()),
                 QStringLiteral("T1\t車庫\\x09前\t23:51:00\t24:21:00\nT2\t\t07:00:00\t07:09:00\n"));
    }

    void stopsTakeTheirStationsNameAndTheTripsHeadsign_data()
    {
        QTest::addColumn<FeedFiles>("files"); // of the messy feed; none: the sample feed's route 21000-0
        QTest::addColumn<bool>("platforms");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("bound");
        // Platforms of one station at both ends: a loop, named by its headsign.
        QTest::newRow("station") << FeedFiles{} << false << QStringLiteral("川崎駅西口") << QStringLiteral("末吉橋矢向循環");
        QTest::newRow("platform") << FeedFiles{} << true << QStringLiteral("川崎駅西口59番のりば")
                                  << QStringLiteral("末吉橋矢向循環");
        QTest::newRow("headsign") << FeedFiles{{"trips.txt", "trip_id,route_id,trip_headsign\nT1,R1,三丁目経由 車庫前\n"}} << false
                                  << QStringLiteral("駅前") << QStringLiteral("三丁目経由 車庫前行き");
        QTest::newRow("loop") << FeedFiles{{"stop_times.txt", "trip_id,stop_id,stop_sequence\nT1,S1,1\nT1,S3,2\nT1,S1,3\n"}}
                              << false << QStringLiteral("駅前") << QStringLiteral("駅前循環");
    }

    void stopsTakeTheirStationsNameAndTheTripsHeadsign()
    {
        QFETCH(FeedFiles, files);
        QFETCH(bool, platforms);
        QFETCH(QString, first);
        QFETCH(QString, bound);
        QTemporaryDir dir;
        const bool sample = files.isEmpty();
        GtfsImport::Request request{sample ? QStringLiteral("21000-0") : QStringLiteral("R1"), QStringLiteral("12"),
                                    std::nullopt, QString()};
        request.names = platforms ? GtfsImport::Names::Platform : GtfsImport::Names::Station;
        QString error;
        const std::unique_ptr<GtfsFeed> feed =
            GtfsFeed::open(sample ? DataDir + QStringLiteral("/sample-kawasaki") : copyOfMessyFeed(dir, files), error);
        QVERIFY(feed);
        const std::optional<GtfsImport::Result> result = GtfsImport::run(*feed, request, error);
        QVERIFY2(result, qPrintable(error));
        QCOMPARE(result->source.stops.front().name, first);
        QCOMPARE(result->source.announcements.front().Text,
                 QStringLiteral("ご乗車ありがとうございます。このバスは、%1です。").arg(bound));
        if (sample && !platforms) {
            QCOMPARE(result->source.stops.back().name, first);
            QCOMPARE(result->source.stops.front().reading, QStringLiteral("かわさきえきにしぐち"));
        }
    }

    void findingTheRoute()
    {
        // Every route with its directions: headsigns, first and last stop,
        // stops and trips.
        const QString sample = DataDir + QStringLiteral("/sample-kawasaki");
        QProcess tool;
        tool.start(QStringLiteral(HY3TOOL), {QStringLiteral("routes"), sample});
        QVERIFY(tool.waitForFinished(60000));
        const QString listed = QString::fromUtf8(tool.readAllStandardOutput());
        QVERIFY2(listed.contains(QStringLiteral("21000-0\t川57\t末吉橋矢向循環\t3 便\n"
                                                "\t方向 0\t末吉橋矢向循環\t川崎駅西口59番のりば → 川崎駅西口１番のりば\t21 停留所\t3 便\n")),
                 qPrintable(listed));
        // A mistyped id names the closest; a folder to write to is made.
        QTemporaryDir out;
        const QString folder = out.filePath(QStringLiteral("routes/57"));
        Run run = importGtfs(folder, {sample, "--route", "21000", "--number", "57"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("route_id「21000」がありません（近いもの: 「21000-0」（川57）")), qPrintable(run.err));
        run = importGtfs(folder, {sample, "--route", "21000-0", "--number", "57"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(run.written.contains(QStringLiteral("57.hy3")));
        // Two feeds in one zip: neither is chosen silently.
        const QString twoFeeds = out.filePath(QStringLiteral("two.zip"));
        QVERIFY(writeZip(twoFeeds, {}, {QStringLiteral("east/"), QStringLiteral("west/")}));
        run = importGtfs(out.path(), {twoFeeds, "--route", "R1", "--number", "12"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("2 つのフィードが入っています（east/, west/）")), qPrintable(run.err));
    }

    void oneZoneRulesApplyToEveryPairOfTheirZone()
    {
        // Zones A A B C. Rules naming one zone or none are applied to every
        // pair they cover, for this route only, and the lowest price wins.
        QTemporaryDir dir;
        const QString feedPath = copyOfMessyFeed(dir, {{"fare_rules.txt", "fare_id,route_id,origin_id,destination_id\n"
                                                                          "F250,R1,A,\nF220,R1,,C\nF240,,,\n"
                                                                          "F150,R1,A,A\nF100,R2,B,\n"}});
        QString error;
        const std::optional<GtfsImport::Result> result = importTrip12(feedPath, error);
        QVERIFY2(result, qPrintable(error));
        const RouteBuilder builder(result->source);
        QCOMPARE(builder.fare(2, 1), 150); // A -> A: both named
        QCOMPARE(builder.fare(3, 1), 240); // A -> B: from A 250, anything 240
        QCOMPARE(builder.fare(4, 1), 220); // A -> C: to C 220
        QCOMPARE(builder.fare(4, 2), 220); // B -> C: R2's rule from B not taken
    }

    void feedReadsStayWithinTheBudget_data()
    {
        QTest::addColumn<bool>("zip");
        QTest::addColumn<FeedFiles>("files");
        QTest::addColumn<quint32>("declared"); // stop_times.txt's declared size, 0: as written
        QTest::addColumn<qint64>("budget");
        QTest::addColumn<QString>("named");
        QByteArray times = readAll(DataDir + QStringLiteral("/messy/stop_times.txt"));
        QByteArray stops = readAll(DataDir + QStringLiteral("/messy/stops.txt"));
        while (times.size() < 600 * 1024) {
            times += "T9,07:00:00,9,S1\n";
        }
        while (stops.size() < 600 * 1024) {
            stops += "35.0,A,pad,SX\n";
        }
        const FeedFiles big{{"stop_times.txt", times}, {"stops.txt", stops}};
        const qint64 megabyte = 1024 * 1024;
        // A zip bomb's entry is refused by its declared size, before a byte
        // of it is allocated.
        QTest::newRow("declared past the budget") << true << FeedFiles{} << quint32(0xFFFFFF00) << GtfsFeed::DefaultBudget
                                                  << QStringLiteral("stop_times.txt: 大きすぎます（フィードから読むのは合わせて 1024 MB まで）");
        QTest::newRow("inflates past its declared size") << true << big << quint32(100) << megabyte / 2
                                                          << QStringLiteral("stop_times.txt: 大きすぎます");
        QTest::newRow("entries pass it together") << true << big << quint32(0) << megabyte
                                                   << QStringLiteral("stops.txt: 大きすぎます");
        QTest::newRow("folder files pass it together") << false << big << quint32(0) << megabyte
                                                        << QStringLiteral("stops.txt: 大きすぎます");
    }

    void feedReadsStayWithinTheBudget()
    {
        QFETCH(bool, zip);
        QFETCH(FeedFiles, files);
        QFETCH(quint32, declared);
        QFETCH(qint64, budget);
        QFETCH(QString, named);
        QTemporaryDir dir;
        QString feedPath = dir.filePath(QStringLiteral("feed.zip"));
        if (zip) {
            QVERIFY(writeZip(feedPath, files));
            QVERIFY(declared == 0 || declareSize(feedPath, "stop_times.txt", declared));
        } else {
            feedPath = copyOfMessyFeed(dir, files);
        }
        QString error;
        const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(feedPath, error, budget);
        QVERIFY2(feed, qPrintable(error));
        QVERIFY(!GtfsImport::run(*feed, {QStringLiteral("R1"), QStringLiteral("12"), std::nullopt, QString()}, error));
        QVERIFY2(error.contains(named), qPrintable(error));
    }

    void zipsAreReadAsUnzipReadsThem_data()
    {
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<QString>("named");
        // A local header whose time and version disagree with the central
        // directory: unzip -t and Python's zipfile read it without a word.
        QTest::newRow("headers disagree") << false << QString();
        QTest::newRow("data damaged") << true << QStringLiteral("stops.txt (");
    }

    void zipsAreReadAsUnzipReadsThem()
    {
        QFETCH(bool, damaged);
        QFETCH(QString, named);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("feed.zip"));
        QVERIFY(writeZip(path, {}));
        QVERIFY(patchHeaders(path, "stops.txt", 10, -1, 0x5A5A, 2));
        QVERIFY(patchHeaders(path, "stops.txt", 4, -1, 0x3F, 1));
        QVERIFY(!damaged || damageData(path, "stops.txt"));
        QString error;
        const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(path, error);
        QVERIFY2(feed, qPrintable(error));
        const std::optional<GtfsImport::Result> result =
            GtfsImport::run(*feed, {QStringLiteral("R1"), QStringLiteral("12"), std::nullopt, QString()}, error);
        QCOMPARE(bool(result), !damaged);
        QVERIFY2(error.contains(named), qPrintable(error));
    }

    void folderFeedsReadPlainFilesOnly_data()
    {
        QTest::addColumn<QString>("target"); // what translations.txt is made: a pipe, or a link to this
        QTest::addColumn<bool>("refused");
        QTest::newRow("pipe") << QString() << true;
        QTest::newRow("link to a device") << QStringLiteral("/dev/zero") << true;
        QTest::newRow("link to a plain file") << DataDir + QStringLiteral("/messy/translations.txt") << false;
    }

    void folderFeedsReadPlainFilesOnly()
    {
        QFETCH(QString, target);
        QFETCH(bool, refused);
        QTemporaryDir dir;
        const QString feed = copyOfMessyFeed(dir, {{"translations.txt", {}}});
        const QString translations = feed + QStringLiteral("/translations.txt");
        QVERIFY(target.isEmpty() ? ::mkfifo(QFile::encodeName(translations).constData(), 0600) == 0
                                 : QFile::link(target, translations));
        QTemporaryDir out;
        // A pipe nobody writes to would hold the import for ever.
        const Run run = importGtfs(out.path(), {feed, "--route", "R1", "--number", "12"});
        QCOMPARE(run.exitCode, refused ? 1 : 0);
        QCOMPARE(run.err.contains(QStringLiteral("translations.txt: 普通のファイルではありません")), refused);
    }

    void cancelStopsTheImportWhereItIs()
    {
        QString error;
        StoppingFeed feed(GtfsFeed::open(DataDir + QStringLiteral("/messy"), error), QStringLiteral("stop_times.txt"));
        QVERIFY(!GtfsImport::run(feed, {QStringLiteral("R1"), QStringLiteral("12"), std::nullopt, QString()}, error));
        QCOMPARE(error, GtfsProgress::cancelledText());
        // The walk of stop_times.txt stopped, and nothing after it was read.
        QCOMPARE(feed.filesRead, QStringList({"routes.txt", "trips.txt", "stop_times.txt"}));
    }

    void refusedFeedsNameTheProblemAndWriteNothing_data()
    {
        // Files of the messy feed replaced (removed when empty).
        QTest::addColumn<FeedFiles>("files");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("missing file") << FeedFiles{{"stop_times.txt", {}}}
                                      << QStringLiteral("stop_times.txt がありません") << QStringList();
        QTest::newRow("missing column") << FeedFiles{{"stops.txt", "stop_id,zone_id\nS1,A\n"}}
                                        << QStringLiteral("stops.txt: 列 stop_name がありません") << QStringList();
        QTest::newRow("open quote") << FeedFiles{{"stops.txt", "stop_id,stop_name\nS1,a\nS2,\"b\nS3,c\n"}}
                                    << QStringLiteral("stops.txt 3 行目: 「\"」が閉じていません") << QStringList();
        QTest::newRow("bad sequence")
            << FeedFiles{{"stop_times.txt", "trip_id,stop_id,stop_sequence\nT1,S1,1\nT1,S2,x\n"}}
            << QStringLiteral("stop_times.txt 3 行目: stop_sequence「x」") << QStringList();
        QTest::newRow("not utf-8") << FeedFiles{{"stops.txt", "stop_id,stop_name\nS1,\x89\x77\n"}}
                                   << QStringLiteral("stops.txt 2 行目: UTF-8") << QStringList();
        // Prices the board's 16-bit cells cannot hold are refused, named,
        // rather than wrapped.
        QTest::newRow("price not a number") << FeedFiles{{"fare_attributes.txt", "fare_id,price\nF1,100\nF2,nan\n"}}
                                            << QStringLiteral("fare_attributes.txt 3 行目: fare_id「F2」の price「nan」は有限の数ではありません") << QStringList();
        QTest::newRow("price past a cell") << FeedFiles{{"fare_attributes.txt", "fare_id,price\nF1,65536\n"}}
                                           << QStringLiteral("fare_id「F1」の price「65536」は運賃データの欄に入りません（最大 32767）") << QStringList();
        QByteArray stops = "stop_id,stop_name,zone_id\n";
        QByteArray times = "trip_id,stop_id,stop_sequence\n";
        for (int i = 1; i <= 100; ++i) {
            stops += "S" + QByteArray::number(i) + ",s,Z" + QByteArray::number(i) + "\n";
            times += "T1,S" + QByteArray::number(i) + "," + QByteArray::number(i) + "\n";
        }
        QTest::newRow("99 tickets") << FeedFiles{{"stops.txt", stops}, {"stop_times.txt", times}}
                                    << QStringLiteral("整理券番号が 99 必要")
                                    << QStringList{"--tickets", "stop"};
    }

    void refusedFeedsNameTheProblemAndWriteNothing()
    {
        QFETCH(FeedFiles, files);
        QFETCH(QString, named);
        QFETCH(QStringList, options);
        QTemporaryDir dir;
        const QString feed = copyOfMessyFeed(dir, files);
        QTemporaryDir out;
        const Run run = importGtfs(out.path(), QStringList{feed, "--route", "R1", "--number", "12"} + options);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(named), qPrintable(run.err));
        QVERIFY2(run.written.isEmpty(), qPrintable(run.written.join(u' ')));
    }
};

QTEST_GUILESS_MAIN(tst_GtfsImport)
#include "tst_GtfsImport.moc"
