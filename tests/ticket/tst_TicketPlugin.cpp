#include "companion/PluginBridge.h"
#include "ticket/PluginProperties.h"
#include "ticket/TicketDescriptionReader.h"
#include "ticket/TicketTemplate.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <numeric>

namespace {

QString sample(const QString &name)
{
    return QStringLiteral(TAVELO_SAMPLES_DIR "/") + name;
}

// A ticket of 200 x 80 pixels holding the given elements.
QByteArray ticketWith(const QByteArray &elements, const QByteArray &extra = {})
{
    return R"({"format": "tavelo-ticket/1", "size": {"width": 200, "height": 80}, )" + extra
        + R"("elements": [)" + elements + "]}";
}

QString expand(const QString &text, const TicketRequest &request, const QStringList &companies = {})
{
    QString why;
    const std::optional<TicketTemplate> parsed = TicketTemplate::parse(text, why);
    return parsed ? parsed->expand(TicketFields(request, companies)) : QStringLiteral("refused: ") + why;
}

} // namespace

class tst_TicketPlugin : public QObject
{
    Q_OBJECT

private slots:
    void capabilitiesOfTheSamples();
    void capabilitiesFromHandMadeDescriptions();
    void refusesTheBadCorpus_data();
    void refusesTheBadCorpus();
    void refusesWhatIsNoPlainSmallFile();
    void placeholders();
    void propertyLines();
    void barsTakeTheWidthTheBoxIsCheckedFor();
};

void tst_TicketPlugin::capabilitiesOfTheSamples()
{
    PlgInfo plain;
    QCOMPARE(PluginBridge::Brix4_GetPlgInfo(sample("plain.4SP"), plain), 1);
    PlgInfo expected;
    expected.Version = 1;
    expected.PrevWidth = 220 * 15;
    expected.PrevHeight = 93 * 15;
    expected.CanDate = 1;
    expected.CanStopName = 1;
    expected.StopRangeFrom = 1;
    expected.StopRangeTo = 301;
    QCOMPARE(plain, expected);

    PlgInfo full;
    QCOMPARE(PluginBridge::Brix4_GetPlgInfo(sample("full.4SP"), full), 1);
    expected.PrevHeight = 116 * 15;
    expected.CanTime = expected.CanRoute = expected.CanBarcode = expected.BarcodeCount = 1;
    expected.MaxRoute = 999;
    expected.BarcodeRouteMode = 1;
    expected.CorpCount = 3;
    QCOMPARE(full, expected);
    QCOMPARE(PluginBridge::pluginCompanies(sample("full.4SP")).size(), 3);
    QVERIFY(PluginBridge::pluginComment(sample("full.4SP")).contains(QStringLiteral("NW-7")));
}

void tst_TicketPlugin::capabilitiesFromHandMadeDescriptions()
{
    // The route only in a barcode, two barcodes of which the tighter sets the
    // ranges, the time only through the hour.
    const QByteArray json = ticketWith(R"(
        {"type": "text", "text": "{hour}時", "box": [0, 0, 50, 20], "size": 12},
        {"type": "barcode", "symbology": "itf", "box": [0, 20, 200, 30], "routeMode": "routeAndDirection",
         "data": [{"field": "route", "digits": 4}, {"fixed": "0"}, {"field": "position", "digits": 2}]},
        {"type": "barcode", "symbology": "nw7", "box": [0, 50, 200, 30],
         "data": [{"field": "route", "digits": 2}, {"field": "number", "digits": 3}]})");
    QList<DescriptionProblem> problems;
    const std::optional<TicketDescription> ticket = TicketDescriptionReader::parse(json, &problems);
    QVERIFY2(ticket, qPrintable(problems.value(0).path + ' ' + problems.value(0).why));
    const PlgInfo info = ticket->plgInfo();
    QCOMPARE(info.CanDate, 0);
    QCOMPARE(info.CanTime, 1);
    QCOMPARE(info.CanRoute, 1);
    QCOMPARE(info.CanStopName, 0);
    QCOMPARE(info.BarcodeCount, 2);
    QCOMPARE(info.MaxRoute, 99);
    QCOMPARE(info.BarcodeRouteMode, 2);
    QCOMPARE(info.StopRangeTo, 99);
    QCOMPARE(info.CorpCount, 0);

    // Ten route digits are more than a 32-bit route can reach.
    const std::optional<TicketDescription> wideRoute = TicketDescriptionReader::parse(ticketWith(R"(
        {"type": "barcode", "symbology": "itf", "box": [0, 0, 200, 30], "data": [{"field": "route", "digits": 10}]})"));
    QVERIFY(wideRoute);
    QCOMPARE(wideRoute->plgInfo().MaxRoute, std::numeric_limits<qint32>::max());
}

void tst_TicketPlugin::refusesTheBadCorpus_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("where");
    const QList<QPair<const char *, const char *>> corpus{
        {"not-json", "$"},
        {"truncated", "$"},
        {"empty", "$"},
        {"array-root", "$"},
        {"unknown-element", "$.elements[0].type"},
        {"unknown-placeholder", "$.elements[0].text"},
        {"unknown-modifier", "$.elements[0].text"},
        {"padded-stop-name", "$.elements[0].text"},
        {"open-brace", "$.elements[0].text"},
        {"missing-size", "$.size"},
        {"huge-size", "$.size.width"},
        {"missing-font-size", "$.elements[0].size"},
        {"too-many-elements", "$.elements"},
        {"no-elements", "$.elements"},
        {"unknown-key", "$.elements[0].fontFile"},
        {"unknown-top-key", "$.script"},
        {"box-off-ticket", "$.elements[0].box"},
        {"box-three-numbers", "$.elements[0].box"},
        {"fractional-size", "$.elements[0].size"},
        {"size-as-text", "$.elements[0].size"},
        {"text-too-long", "$.elements[0].text"},
        {"colour-name", "$.elements[0].color"},
        {"wrong-format", "$.format"},
        {"too-many-companies", "$.companies"},
        {"empty-company", "$.companies[1]"},
        {"barcode-too-wide", "$.elements[1].box"},
        {"barcode-too-many-digits", "$.elements[1].data"},
        {"barcode-wide-bars", "$.elements[1].wide"},
        {"itf-start-letter", "$.elements[1].start"},
        {"nw7-start-letter", "$.elements[1].start"},
        {"unknown-symbology", "$.elements[1].symbology"},
        {"barcode-stop-name", "$.elements[1].data[0].field"},
        {"barcode-fixed-letters", "$.elements[1].data[0].fixed"},
    };
    for (const auto &[file, where] : corpus) {
        QTest::newRow(file) << QStringLiteral(TAVELO_BAD_TICKETS_DIR "/%1.4SP").arg(file) << QString(where);
    }
    // Every file of the corpus is listed.
    QCOMPARE(QDir(TAVELO_BAD_TICKETS_DIR).entryList({"*.4SP"}, QDir::Files).size(), corpus.size());
}

void tst_TicketPlugin::refusesTheBadCorpus()
{
    QFETCH(QString, file);
    QFETCH(QString, where);
    PlgInfo info;
    QCOMPARE(PluginBridge::Brix4_GetPlgInfo(file, info), 0);
    QCOMPARE(info, PlgInfo());
    QList<DescriptionProblem> problems;
    QVERIFY(!TicketDescriptionReader::readFile(file, &problems));
    QStringList paths;
    for (const DescriptionProblem &problem : problems) {
        QVERIFY(!problem.why.isEmpty());
        paths << problem.path;
    }
    QVERIFY2(paths.contains(where), qPrintable(paths.join(", ")));
    // Nothing of a refused plug-in reaches the controls.
    QVERIFY(PluginBridge::pluginComment(file).isEmpty());
    QVERIFY(PluginBridge::pluginCompanies(file).isEmpty());
}

void tst_TicketPlugin::refusesWhatIsNoPlainSmallFile()
{
    QTemporaryDir dir;
    PlgInfo info;
    QCOMPARE(PluginBridge::Brix4_GetPlgInfo(QString(), info), 0);
    QCOMPARE(PluginBridge::Brix4_GetPlgInfo(dir.filePath("missing.4SP"), info), 0);
    QCOMPARE(PluginBridge::Brix4_GetPlgInfo(dir.path(), info), 0);
    QCOMPARE(PluginBridge::Brix4_GetPlgInfo(QStringLiteral("/dev/zero"), info), 0);

    // A valid description padded with spaces beyond the size limit.
    QFile plain(sample("plain.4SP"));
    QVERIFY(plain.open(QIODevice::ReadOnly));
    QByteArray big = plain.readAll();
    big.append(QByteArray(TicketDescriptionReader::MaxFileBytes, ' '));
    QFile file(dir.filePath("big.4SP"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(big);
    file.close();
    QCOMPARE(PluginBridge::Brix4_GetPlgInfo(file.fileName(), info), 0);
    QCOMPARE(info, PlgInfo());
}

void tst_TicketPlugin::placeholders()
{
    TicketRequest request;
    request.stopName = QStringLiteral("市役所前");
    request.dateText = QStringLiteral("12-06-2026");
    request.timeText = QStringLiteral("07:05:09");
    request.routeNumber = 12;
    request.ticketNumber = 5;
    request.stopPosition = 7;
    request.companyIndex = 1;
    const QStringList companies{QStringLiteral("甲バス"), QStringLiteral("乙バス")};
    QCOMPARE(expand("{number}番 {number:wide} {route:pad3} {position:pad2:wide}", request),
             QStringLiteral("5番 ５ 012 ０７"));
    QCOMPARE(expand("{stop}から {company}", request, companies), QStringLiteral("市役所前から 乙バス"));
    QCOMPARE(expand("{date} {year}年{month}月{day:pad2}日 {time} {second}", request),
             QStringLiteral("2026/12/06 2026年12月06日 07:05 9"));
    QCOMPARE(expand("{{number}} {{", request), QStringLiteral("{number} {"));

    // The fixed date of the options comes year first.
    request.dateText = QStringLiteral("2027/01/31");
    QCOMPARE(expand("{month}/{day}", request), QStringLiteral("1/31"));
    // A date in neither form is printed as it came, its parts stay empty.
    request.dateText = QStringLiteral("令和8年");
    QCOMPARE(expand("{date}|{year}", request), QStringLiteral("令和8年|"));
    // No company chosen, or one the ticket does not have.
    for (qint32 index : {-1, 2}) {
        request.companyIndex = index;
        QCOMPARE(expand("[{company}]", request, companies), QStringLiteral("[]"));
    }
    request.ticketNumber = -3;
    QCOMPARE(expand("{number:pad3}", request), QStringLiteral("-003"));

    QCOMPARE(expand("{number:pad0}", request).left(8), QStringLiteral("refused:"));
    QCOMPARE(expand("{number:wide:wide}", request).left(8), QStringLiteral("refused:"));
    QCOMPARE(expand("number}", request).left(8), QStringLiteral("refused:"));
}

void tst_TicketPlugin::propertyLines()
{
    PlgInfo info;
    info.CanDate = 2; // only 1 means yes
    info.CanTime = 1;
    QCOMPARE(PluginProperties::lines(info), (QStringList{
        "日付の印字 ---> 不可", "時刻の印字 ---> 可能", "系統番号の印字 ---> 不可", "停名の印字 ---> 不可",
        "バーコード印字 ---> 不可", "社名切り替え:---> 不可"}));

    info.CanBarcode = 1;
    info.BarcodeCount = 2;
    info.BarcodeRouteMode = 0;
    info.MaxRoute = 999;
    info.StopRangeFrom = -1;
    info.StopRangeTo = 301;
    info.CorpCount = 3;
    const QStringList lines = PluginProperties::lines(info);
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines.mid(4), (QStringList{"バーコード印字 ---> 可能", "バーコード本数 ---> 2",
                                        "バーコード系統方式 ---> 系統番号＋往復フラグ",
                                        "設定可能な系統範囲 ---> 1 ～ 999", "停留所認識範囲 ---> -1 ～ 301",
                                        "社名切り替え:---> 可能"}));
    info.BarcodeRouteMode = 1;
    QCOMPARE(PluginProperties::lines(info).at(6), QStringLiteral("バーコード系統方式 ---> 連番式"));
}

void tst_TicketPlugin::barsTakeTheWidthTheBoxIsCheckedFor()
{
    // The check of a barcode's box and the drawing must agree on the width.
    for (auto symbology : {TicketBarcode::Symbology::Nw7, TicketBarcode::Symbology::Itf}) {
        for (const QString &digits : {QStringLiteral("7"), QStringLiteral("0123456789"), QStringLiteral("12345")}) {
            for (int narrow : {1, 2, 3}) {
                TicketBarcode barcode;
                barcode.symbology = symbology;
                barcode.narrow = narrow;
                barcode.wide = 3 * narrow - 1;
                barcode.parts = {TicketBarcode::Part{std::nullopt, 0, digits}};
                const QList<int> widths = barcode.barWidths(digits);
                QVERIFY(!widths.isEmpty());
                QCOMPARE(widths.size() % 2, 1); // a bar at each end
                QCOMPARE(std::accumulate(widths.begin(), widths.end(), 0), barcode.barsWidth());
            }
        }
    }
}

QTEST_GUILESS_MAIN(tst_TicketPlugin)
#include "tst_TicketPlugin.moc"
