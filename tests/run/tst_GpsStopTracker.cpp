#include "run/GpsStopTracker.h"

#include <QRegularExpression>
#include <QTest>

using Step = GpsStopTracker::Step;
using Reason = Step::Reason;
using Steps = std::vector<Step>;

namespace {

// Stops northwards along a meridian, one every 0.001° (about 111 m), so
// that a place is "so many metres past stop i".
constexpr double FirstLat = 35.0;
constexpr double Lon = 139.0;
constexpr double MetresPerDegree = 111195.0;

GeoPoint stopPlace(int i)
{
    return {FirstLat + 0.001 * i, Lon};
}

// `metres` north of stop `i`.
PositionFix fixNear(int i, double metres, qint64 timeMs = 0)
{
    return {timeMs, {stopPlace(i).lat + metres / MetresPerDegree, Lon}, true};
}

std::vector<GpsStopTracker::Stop> line(int count, std::initializer_list<int> withoutPlace = {})
{
    std::vector<GpsStopTracker::Stop> stops;
    for (int i = 0; i < count; ++i)
        stops.push_back({QStringLiteral("停留所%1").arg(i + 1), stopPlace(i)});
    for (int i : withoutPlace)
        stops[size_t(i)].place.reset();
    return stops;
}

} // namespace

class tst_GpsStopTracker : public QObject
{
    Q_OBJECT

private slots:
    void entersAndLeavesTheCircle()
    {
        GpsStopTracker tracker(line(3));
        // Short of the first stop: on its way, nothing to do.
        QCOMPARE(tracker.update(fixNear(0, -50), 0), Steps{});
        QVERIFY(!tracker.isAtStop());
        QCOMPARE(tracker.update(fixNear(0, -25), 0), Steps{});
        QVERIFY(tracker.isAtStop());
        QCOMPARE(tracker.update(fixNear(0, 25), 0), Steps{});
        // Out of the circle: the departure, once.
        QCOMPARE(tracker.update(fixNear(0, 35), 0), (Steps{{0, Reason::Departed}}));
        QCOMPARE(tracker.currentStop(), 1);
        QVERIFY(!tracker.isAtStop());
        // Drifting back into the stop it left does not take the bus back.
        QCOMPARE(tracker.update(fixNear(0, 20), 0), Steps{});
        QCOMPARE(tracker.currentStop(), 1);
        QCOMPARE(tracker.update(fixNear(1, 0), 0), Steps{});
        QVERIFY(tracker.isAtStop());
        QCOMPARE(tracker.update(fixNear(1, 60), 0), (Steps{{1, Reason::Departed}}));
        // Leaving the last stop has nothing to step to.
        QCOMPARE(tracker.update(fixNear(2, 0), 0), Steps{});
        QCOMPARE(tracker.update(fixNear(2, 100), 0), Steps{});
        QCOMPARE(tracker.currentStop(), 2);

        // The radius is the option's: 50 m holds the bus 35 m past the stop.
        GpsStopTracker wide(line(2), 50);
        wide.update(fixNear(0, 0), 0);
        QCOMPARE(wide.update(fixNear(0, 35), 0), Steps{});
        QCOMPARE(wide.update(fixNear(0, 55), 0), (Steps{{0, Reason::Departed}}));
    }

    void catchesUpWithStopsPassedUnseen()
    {
        GpsStopTracker tracker(line(5));
        tracker.update(fixNear(0, 0), 0);
        QCOMPARE(tracker.update(fixNear(0, 50), 0), (Steps{{0, Reason::Departed}}));
        // Through stops 2 and 3 without a fix in their circles, into 4's.
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^Stop 2 停留所2 passed without")));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^Stop 3 停留所3 passed without")));
        QCOMPARE(tracker.update(fixNear(3, 10), 0),
                 (Steps{{1, Reason::PassedUnseen}, {2, Reason::PassedUnseen}}));
        QCOMPARE(tracker.currentStop(), 3);
        QVERIFY(tracker.isAtStop());

        // A route ending where it began: at the first stop the bus is within
        // the last one's circle too, and stays at the first.
        std::vector<GpsStopTracker::Stop> loop = line(4);
        loop.back().place = stopPlace(0);
        GpsStopTracker round(loop);
        QCOMPARE(round.update(fixNear(0, 0), 0), Steps{});
        QCOMPARE(round.currentStop(), 0);
        QVERIFY(round.isAtStop());
    }

    void staysWhenTheFixIsStale()
    {
        GpsStopTracker tracker(line(3));
        QVERIFY(tracker.isStale(0)); // no fix yet
        tracker.update(fixNear(0, 0, 1000), 1000);
        QVERIFY(!tracker.isStale(1000 + GpsStopTracker::StaleAfterMs));
        QVERIFY(tracker.isStale(1001 + GpsStopTracker::StaleAfterMs));
        // A fix taken more than 10 s ago, or one without a position, moves nothing.
        QCOMPARE(tracker.update(fixNear(2, 0, 1000), 11001), Steps{});
        QCOMPARE(tracker.update({12000, stopPlace(2), false}, 12000), Steps{});
        QCOMPARE(tracker.currentStop(), 0);
        QVERIFY(tracker.isAtStop());
        QVERIFY(tracker.isStale(12000));
        // A fresh one does.
        QCOMPARE(tracker.update(fixNear(1, 0, 12000), 12000), (Steps{{0, Reason::Departed}}));
        QVERIFY(!tracker.isStale(12000));
    }

    void passesStopsWithoutPosition()
    {
        // Stop 2 has no position: leaving stop 1 passes it too, with a word.
        GpsStopTracker tracker(line(3, {1}));
        tracker.update(fixNear(0, 0), 0);
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^Stop 2 停留所2 has no position")));
        QCOMPARE(tracker.update(fixNear(0, 40), 0), (Steps{{0, Reason::Departed}, {1, Reason::NoPosition}}));
        QCOMPARE(tracker.currentStop(), 2);

        // Under a timetable the bus waits at it for the timetable's step...
        GpsStopTracker timed(line(4, {1}));
        timed.setTimetableSteps(true);
        timed.update(fixNear(0, 0), 0);
        QCOMPARE(timed.update(fixNear(0, 40), 0), (Steps{{0, Reason::Departed}}));
        QCOMPARE(timed.currentStop(), 1);
        timed.setCurrentStop(2);
        QCOMPARE(timed.update(fixNear(2, 0), 0), Steps{});
        QVERIFY(timed.isAtStop());
        // ...unless the bus is at a later stop first.
        timed.setCurrentStop(1);
        QCOMPARE(timed.update(fixNear(3, 0), 0), (Steps{{1, Reason::NoPosition}, {2, Reason::PassedUnseen}}));
        QCOMPARE(timed.currentStop(), 3);
    }
};

QTEST_GUILESS_MAIN(tst_GpsStopTracker)
#include "tst_GpsStopTracker.moc"
