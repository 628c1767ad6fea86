#include "route/FareRuleText.h"
#include "route/RouteBuilder.h"

#include <QTest>

namespace {

RouteSource routeOf(const QList<int> &tenths, const QStringList &zones = {})
{
    RouteSource source;
    source.route = QStringLiteral("12");
    for (qsizetype i = 0; i < tenths.size(); ++i) {
        RouteStop stop;
        stop.name = QStringLiteral("停%1").arg(i + 1);
        stop.distanceTenths = tenths.at(i);
        stop.zone = zones.value(i);
        source.stops.push_back(stop);
    }
    return source;
}

// The board worked out by hand, row n = stop n, column c = ticket c.
void compareBoard(const RouteBuilder &builder, const QList<QList<int>> &board)
{
    for (qsizetype n = 0; n < board.size(); ++n) {
        for (qsizetype c = 0; c < board.at(n).size(); ++c) {
            const int stop = static_cast<int>(n + 1);
            const int ticket = static_cast<int>(c + 1);
            QVERIFY2(builder.fare(stop, ticket) == board.at(n).at(c),
                     qPrintable(QStringLiteral("stop %1 ticket %2: %3, expected %4")
                                    .arg(stop).arg(ticket).arg(builder.fare(stop, ticket)).arg(board.at(n).at(c))));
        }
    }
}

std::vector<int> tickets(std::initializer_list<int> values)
{
    return values;
}

} // namespace

class tst_RouteBuilder : public QObject
{
    Q_OBJECT

private slots:
    void distanceByStepsRoundsUpToTheUnit()
    {
        // 170 yen up to 2.0 km, then 45 yen for every started 1.0 km,
        // rounded up to 10 yen.
        RouteSource source = routeOf({0, 15, 30, 42, 70});
        source.rule.kind = FareRule::Kind::Distance;
        source.rule.baseFare = 170;
        source.rule.baseTenths = 20;
        source.rule.stepFare = 45;
        source.rule.stepTenths = 10;
        const RouteBuilder builder(source);
        QCOMPARE(builder.tickets(), tickets({1, 2, 3, 4, 0}));
        compareBoard(builder, {{0, 0, 0, 0},
                               {170, 0, 0, 0},
                               {220, 170, 0, 0},
                               {310, 220, 170, 0},
                               {400, 350, 260, 220}});
    }

    void distanceBandsShareATicketWhereTheFaresAgree()
    {
        RouteSource source = routeOf({0, 15, 30, 42, 70});
        source.rule.kind = FareRule::Kind::Distance;
        source.rule.bands = {{20, 160}, {50, 200}, {80, 250}};
        const RouteBuilder builder(source);
        // Boarding at stop 3 or 4 costs the same to stop 5: one ticket.
        QCOMPARE(builder.tickets(), tickets({1, 2, 3, 3, 0}));
        compareBoard(builder, {{0, 0, 0},
                               {160, 0, 0},
                               {200, 160, 0},
                               {200, 200, 160},
                               {250, 250, 200}});
    }

    void zonesByCountCrossedAndByPairs()
    {
        RouteSource source = routeOf({0, 0, 0, 0, 0}, {"A", "A", "B", "B", "C"});
        source.rule.kind = FareRule::Kind::Zone;
        source.rule.faresByZonesCrossed = {150, 200, 250};
        const RouteBuilder crossed(source);
        QCOMPARE(crossed.tickets(), tickets({1, 1, 2, 2, 0}));
        compareBoard(crossed, {{0, 0}, {150, 0}, {200, 0}, {200, 150}, {250, 200}});

        // A pair left out of the table has no fare.
        source.rule.zonePairs = {{{"A", "A"}, 140}, {{"A", "B"}, 190}, {{"A", "C"}, 230}, {{"B", "B"}, 140}};
        const RouteBuilder pairs(source);
        compareBoard(pairs, {{0, 0}, {140, 0}, {190, 0}, {190, 140}, {230, -1}});
    }

    void typedCellsSurviveRegenerationAndTheSelectorHoldsTheSound()
    {
        RouteSource source = routeOf({0, 0, 0, 0});
        source.rule.flatFare = 200;
        source.stops[1].sound = RouteStop::Sound::Major;
        source.stops[3].sound = RouteStop::Sound::Terminal;
        source.overrides = {{3, 1, 180}};
        QCOMPARE(RouteBuilder(source).tickets(), tickets({1, 1, 1, 0}));
        source.rule.flatFare = 210; // the rule is changed and the board built again
        const RouteBuilder builder(source);
        compareBoard(builder, {{0}, {210}, {180}, {210}});
        QVERIFY(builder.isOverridden(3, 1));
        QVERIFY(!builder.isOverridden(2, 1));
        const std::vector<StopRecord> records = builder.records();
        QCOMPARE(records[2].column(1), qint16(180));
        QCOMPARE(records[3].ticketNumber, qint16(0));
        const qint16 sounds[] = {1, 2, 1, 3};
        for (int n = 0; n < 4; ++n) {
            QCOMPARE(records[size_t(n)].column(RouteSource::DefaultSelectorColumn), sounds[n]);
        }

        // A manual route: each stop its own ticket, untyped cells no fare.
        source.rule.kind = FareRule::Kind::Manual;
        compareBoard(RouteBuilder(source), {{0, 0, 0}, {-1, 0, 0}, {180, -1, 0}, {-1, -1, -1}});
    }

    void checksNameTheStopAndColumn()
    {
        RouteSource source = routeOf({0, 0, 0, 0, 0});
        source.rule.flatFare = 200;
        source.stops[1].name = QStringLiteral("駅😀前");
        source.stops[2].name = QStringLiteral("ΩΩ");
        source.overrides = {{3, 1, 10000}, {4, 1, -5}, {5, 1, 150}};
        const std::vector<RouteProblem> problems =
            RouteBuilder(source).check([](char32_t c) { return c != 0x03A9; });
        QStringList texts;
        for (const RouteProblem &problem : problems) {
            texts << problem.describe(source.stops);
        }
        const QString all = texts.join(u'\n');
        QVERIFY2(all.contains(QStringLiteral("停留所 2（駅😀前）: 停名の「😀」(U+1F600)はシフトJIS")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("停留所 3（ΩΩ）: 停名の「Ω」(U+03A9)は停名表示")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("停留所 3（ΩΩ）, 列 1: 運賃 10000 は表示の4桁")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("停留所 4（停4）, 列 1: 運賃 -5 は負の値")), qPrintable(all));
        // 200 at stop 2, then 150 at stop 5 after -5 at stop 4: only a real fall counts.
        QVERIFY2(!all.contains(QStringLiteral("停留所 5")), qPrintable(all));
        // Only the name the fare data cannot hold keeps the route from being built.
        QCOMPARE(std::count_if(problems.begin(), problems.end(),
                               [](const RouteProblem &p) { return p.severity == RouteProblem::Severity::Refusal; }),
                 1);
        QCOMPARE(problems.front().stop, 2);
        QCOMPARE(problems.front().severity, RouteProblem::Severity::Refusal);
        source.overrides = {{4, 1, 150}};
        QVERIFY(RouteBuilder(source).check().back().describe(source.stops).contains(QStringLiteral("列 1: 運賃が前の停留所より下がっています（200 → 150）")));
        // Cells left without a fare light "-1": said once, where the first is.
        source.rule.kind = FareRule::Kind::Manual;
        source.overrides.clear();
        QCOMPARE(RouteBuilder(source).check().back().describe(source.stops),
                 QStringLiteral("停留所 2（駅😀前）, 列 1: 運賃のない欄（-1）が 10 あり、表示器には「-1」と出ます"));
    }

    void typedTablesKeepWhatTheyReadAndNameTheRest()
    {
        QStringList unreadable;
        const std::vector<FareRule::Band> bands =
            FareRuleText::bandsFromText(QStringLiteral("3.0,210\n\n4.5;260\n 6.0 , 310 "), unreadable);
        QCOMPARE(bands, (std::vector<FareRule::Band>{{30, 210}, {60, 310}}));
        QCOMPARE(FareRuleText::bandsFromText(FareRuleText::bandsText(bands), unreadable), bands);
        const auto pairs = FareRuleText::zonePairsFromText(QStringLiteral("A,B,260\nA,,300"), unreadable);
        QCOMPARE(pairs.size(), 1);
        QCOMPARE(FareRuleText::zoneFaresFromText(QStringLiteral("210,2x0,310"), unreadable), (std::vector<int>{210, 310}));
        QCOMPARE(unreadable, (QStringList{QStringLiteral("距離帯 3 行目「4.5;260」を読めません"),
                                          QStringLiteral("ゾーン間の運賃 2 行目「A,,300」を読めません"),
                                          QStringLiteral("ゾーン数ごとの運賃 2 番目「2x0」を読めません")}));
    }

    void refusesRoutesTheBoardCannotHold()
    {
        QVERIFY(RouteBuilder::refuses(RouteBuilder(routeOf({0})).check()));
        RouteSource tooLong = routeOf(QList<int>(302, 0));
        tooLong.rule.flatFare = 200;
        QVERIFY(RouteBuilder::refuses(RouteBuilder(tooLong).check()));
        QVERIFY(RouteBuilder(tooLong).check().front().text.contains(QStringLiteral("302")));

        QList<int> km;
        for (int i = 0; i < 100; ++i) {
            km << i * 10;
        }
        RouteSource manyTickets = routeOf(km);
        manyTickets.rule.kind = FareRule::Kind::Distance;
        manyTickets.rule.baseFare = 100;
        manyTickets.rule.stepFare = 10;
        manyTickets.rule.stepTenths = 10;
        const std::vector<RouteProblem> problems = RouteBuilder(manyTickets).check();
        QVERIFY(RouteBuilder::refuses(problems));
        QVERIFY2(problems.front().text.contains(QStringLiteral("99")), qPrintable(problems.front().text));
    }
};

QTEST_GUILESS_MAIN(tst_RouteBuilder)
#include "tst_RouteBuilder.moc"
