// Measures the route editor on the largest route a fare data file holds, 301
// stops and 98 ticket numbers: typing one fare, and regenerating the whole
// board after a rule change. Each includes the undo step, the board built
// again with every check (glyphs of the stop-name strip too) and the fare
// grid telling its views what changed. Target: under 10 ms each. Also the
// memory undo takes: 1,000 renamed stops on that route opened from its fare
// data, every cell kept as typed: under 20 MB (when each step kept two
// copies of the route it took hundreds).

#include "MedianTarget.h"
#include "formats/Hy3File.h"
#include "route/FareGridModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QUndoStack>

#include <sys/resource.h>

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

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

bool undoMemory()
{
    // The fare data of the largest route, opened as the editor opens it:
    // every cell kept as typed.
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("12.hy3")));
    if (!file.open(QIODevice::WriteOnly) || file.write(*Hy3File::serialize(RouteBuilder(largestRoute()).records())) < 0) {
        return false;
    }
    file.close();
    RouteDocument document;
    QString error;
    if (!document.open(file.fileName(), error)) {
        std::printf("%s\n", qPrintable(error));
        return false;
    }
    const long before = peakMegabytes();
    for (int e = 0; e < 1000; ++e) {
        RouteStop stop = document.source().stops[size_t(e % 301)];
        stop.name = QStringLiteral("改名%1").arg(e);
        document.setStop(e % 301, stop);
    }
    const long grown = peakMegabytes() - before;
    const bool met = grown < 20;
    std::printf("1,000 undo steps on a 301-stop route with %zu typed cells: %ld MB more (target < 20): %s\n",
                document.source().overrides.size(), grown, met ? "met" : "MISSED");
    return met;
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
    const bool undone = undoMemory();
    return typed && regenerated && undone ? 0 : 1;
}
