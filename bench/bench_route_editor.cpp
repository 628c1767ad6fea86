// Measures the route editor on the largest route a fare data file holds, 301
// stops and 98 ticket numbers: typing one fare, and regenerating the whole
// board after a rule change. Each includes the undo step, the board built
// again with every check (glyphs of the stop-name strip too) and the fare
// grid telling its views what changed. Target: under 10 ms each.

#include "MedianTarget.h"
#include "route/FareGridModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

RouteSource largestRoute()
{
    RouteSource source;
    source.route = QStringLiteral("12");
    source.rule.kind = FareRule::Kind::Distance;
    source.rule.baseFare = 170;
    source.rule.baseTenths = 20;
    source.rule.stepFare = 30;
    source.rule.stepTenths = 10;
    constexpr int Stops = 301;
    for (int i = 0; i < Stops; ++i) {
        RouteStop stop;
        stop.name = QStringLiteral("停留所%1").arg(i + 1);
        stop.distanceTenths = i * 4;
        // 98 ticket numbers spread over the route; none at the terminal.
        stop.ticket = i + 1 < Stops ? i * 98 / (Stops - 1) + 1 : 0;
        source.stops.push_back(stop);
    }
    return source;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    RouteDocument document;
    document.insertStops(0, largestRoute().stops);
    FareRule rule = largestRoute().rule;
    document.setRule(rule);
    FareGridModel grid(&document);
    if (grid.rowCount() != 301 || grid.columnCount() != 98) {
        std::printf("the board is %d x %d, not 301 x 98\n", grid.rowCount(), grid.columnCount());
        return 1;
    }

    std::vector<double> typing;
    std::vector<double> regenerating;
    for (int round = 0; round < 30; ++round) {
        QElapsedTimer timer;
        timer.start();
        grid.setData(grid.index(300, round), 5000 + round);
        typing.push_back(double(timer.nsecsElapsed()) / 1e6);

        rule.stepFare = 31 + round;
        timer.restart();
        document.setRule(rule);
        regenerating.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const bool typed = medianMeets("typing one fare on a 301 x 98 board", typing, 10);
    const bool regenerated = medianMeets("regenerating a 301 x 98 board after a rule change", regenerating, 10);
    return typed && regenerated ? 0 : 1;
}
