// Measures how late a run by the timetable steps the board in the real
// program objects (the display window, the panel, the running bus on the
// system's steady clock and event loop): a trip of 20 stops a minute apart
// at 60 times real time, the board painted at every step. Each round's
// sample is the largest lateness of a step after its scaled time (target
// within 100 ms); exits non-zero when the median round misses it.

#include "MedianTarget.h"
#include "PanelFixture.h"

#include "display/JapaneseFonts.h"
#include "route/ServiceTime.h"
#include "run/RunSlot.h"
#include "run/TimetableRun.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

constexpr int Stops = 20;
constexpr int Speed = 60;
constexpr int Rounds = 3;

QByteArray routeSource()
{
    QByteArray stops;
    QByteArray times;
    for (int stop = 1; stop <= Stops; ++stop) {
        const QString at = ServiceTime::format(7 * 3600 + 60 * (stop - 1));
        stops += QStringLiteral("%1{\"name\": \"第%2停留所\"}").arg(stop > 1 ? "," : "").arg(stop).toUtf8();
        times += QStringLiteral("%1{\"%2\": \"%3\"}")
                     .arg(stop > 1 ? "," : "", stop < Stops ? "departure" : "arrival", at)
                     .toUtf8();
    }
    return R"({"format": "tavelo-route", "version": 1, "route": "5", "fareRule": {"kind": "flat", "fare": 200},
        "stops": [)" + stops + R"(], "trips": [{"id": "T1", "headsign": "終点", "service": {"id": "毎日"},
        "times": [)" + times + "]}]}";
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    JapaneseFonts::installSubstitutions();
    QTemporaryDir dir;
    QStringList names;
    for (int stop = 1; stop <= Stops; ++stop) {
        names << QStringLiteral("第%1停留所").arg(stop);
    }
    QFile source(dir.filePath("5.route.json"));
    if (!writeRoute(dir.filePath("5.hy3"), names, distanceFare) || !source.open(QIODevice::WriteOnly)
        || source.write(routeSource()) < 0) {
        std::fputs("bench_run: cannot write the route\n", stderr);
        return 1;
    }
    source.close();

    PanelFixture f;
    f.display.Form_Load();
    f.setOptions([&dir](OptionInfo &o) { o.Folder.FareDataDir = dir.path(); });
    RunSlot &runs = f.display.runs();

    std::vector<double> worstOfRound;
    for (int round = 0; round < Rounds; ++round) {
        if (f.bus.setRoute(QStringLiteral("5"), QStringLiteral("1")).outcome != CommandResult::Done
            || runs.startTimetable(QStringLiteral("T1"), Speed).outcome != CommandResult::Done) {
            std::fputs("bench_run: the run did not start\n", stderr);
            return 1;
        }
        auto *run = qobject_cast<TimetableRun *>(runs.run());
        double worst = 0;
        const QMetaObject::Connection stepped =
            QObject::connect(&f.bus, &BusOperation::changed, [&](BusOperation::Changes what) {
                const int stop = f.bus.route().currentStop();
                if (!what.testFlag(BusOperation::Change::Stop) || stop < 2) {
                    return;
                }
                // Leaving the stop before at its departure, in real time.
                QApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
                const qint64 due = qint64(run->schedule().departureFrom(stop - 1)) * 1000;
                worst = qMax(worst, double(run->clock().nowMs() - due) / Speed);
            });
        QEventLoop loop;
        QObject::connect(&runs, &RunSlot::changed, &loop, [&] {
            if (!runs.run()) {
                loop.quit();
            }
        });
        loop.exec();
        QObject::disconnect(stepped);
        std::printf("round %d: the bus reached stop %d, the latest step %.1f ms after its time\n", round + 1,
                    f.bus.route().currentStop(), worst);
        if (f.bus.route().currentStop() != Stops) {
            std::fputs("bench_run: the run did not reach the last stop\n", stderr);
            return 1;
        }
        worstOfRound.push_back(worst);
    }
    const bool met = medianMeets("the latest step of a 20-stop trip at 60 times", worstOfRound, 100.0);
    return met ? 0 : 1;
}
