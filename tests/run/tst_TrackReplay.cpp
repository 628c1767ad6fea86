#include "NmeaSentence.h"
#include "FakeClock.h"

#include "run/GpsStopTracker.h"
#include "run/RouteDrive.h"
#include "run/TrackFile.h"
#include "run/TrackReplaySource.h"

#include <QSignalSpy>
#include <QTimeZone>
#include <QTest>

using Point = TrackFile::Point;

class tst_TrackReplay : public QObject
{
    Q_OBJECT

private slots:
    void readsAnNmeaLog()
    {
        const QByteArray log =
            nmeaSentence("GPRMC,235958.00,A,3531.500,N,13942.000,E,0.0,0.0,071226,,,A")
            // The same fix again in GGA: one point.
            + nmeaSentence("GPGGA,235958.00,3531.500,N,13942.000,E,1,08,1.0,10.0,M,40.0,M,,")
            + nmeaSentence("GPGSV,1,1,01,05,40,083,46") // says nothing of where
            + "$GPRMC,235959.00,A,3531.600,N,13942.000,E,0.0,0.0,071226,,,A*00\r\n" // bad checksum
            + "garbage\r\n"
            + nmeaSentence("GPRMC,235959.50,V,,,,,,,071226,,,N") // no position
            // Past midnight, in the southern and western hemispheres.
            + nmeaSentence("GNRMC,000001.25,A,3330.000,S,07030.000,W,0.0,0.0,081226,,,A")
            + nmeaSentence("GPGGA,000000.00,3330.000,S,07030.000,W,1,08,1.0,10.0,M,40.0,M,,") // goes back
            + nmeaSentence("GPGGA,000002.00,9130.000,N,07030.000,W,1,08,1.0,10.0,M,40.0,M,,"); // off the globe
        const TrackFile track = TrackFile::fromBytes(log);
        QCOMPARE(track.skipped, 4);
        QCOMPARE(track.points.size(), 3u);
        QCOMPARE(track.points[0].timeMs, 0);
        QCOMPARE(track.points[0].place.lat, 35.525);
        QCOMPARE(track.points[0].place.lon, 139.7);
        QVERIFY(track.points[0].valid);
        QCOMPARE(track.points[1].timeMs, 1500);
        QVERIFY(!track.points[1].valid);
        QCOMPARE(track.points[2], (Point{3250, {-33.5, -70.5}, true}));
    }

    void readsAGpxTrack()
    {
        const QByteArray gpx =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
            " <trk><name>12</name><trkseg>\n"
            "  <trkpt lat=\"35.5\" lon=\"139.7\"><ele>5</ele><time>2026-12-07T10:00:00Z</time></trkpt>\n"
            "  <trkpt lat=\"35.6\" lon=\"139.7\"></trkpt>\n"
            "  <trkpt lat=\"95\" lon=\"139.7\"><time>2026-12-07T10:00:01Z</time></trkpt>\n"
            "  <trkpt lat=\"35.501\" lon=\"139.701\"><time>2026-12-07T19:00:02.5+09:00</time></trkpt>\n"
            " </trkseg></trk>\n"
            " <trk><trkseg><trkpt lat=\"35.502\" lon=\"139.702\"><time>2026-12-07T10:00:04Z</time></trkpt>\n"
            " <broken\n"
            "</gpx>\n";
        const TrackFile track = TrackFile::fromBytes(gpx);
        QCOMPARE(track.skipped, 2); // no time; off the globe
        QCOMPARE(track.points.size(), 3u);
        QCOMPARE(track.points[1], (Point{2500, {35.501, 139.701}, true}));
        QCOMPARE(track.points[2].timeMs, 4000);
        QVERIFY2(track.brokenOff.startsWith(QStringLiteral("line 1")), qPrintable(track.brokenOff));
    }

    // A drive made from a route's stops and a trip's times, written as GPX
    // and read back, takes the bus from stop to stop, each once.
    void aDriveAlongTheRouteStepsEachStopOnce()
    {
        RouteSource source;
        RouteTrip trip;
        for (int i = 0; i < 5; ++i) {
            RouteStop stop;
            stop.name = QStringLiteral("停留所%1").arg(i + 1);
            if (i != 2) { // the third stop has no position
                stop.lat = 35.53 + 0.002 * i;
                stop.lon = 139.69 - 0.001 * i;
            }
            source.stops.push_back(stop);
            // Standing 30 s at each; the second stop gives no time.
            trip.times.push_back(i == 1 ? StopTime{} : StopTime{7 * 3600 + 120 * i, 7 * 3600 + 120 * i + 30});
        }
        int firstSecond = 0;
        QString error;
        const std::optional<TrackFile> drive = RouteDrive::make(source, &trip, firstSecond, error);
        QVERIFY2(drive, qPrintable(error));
        QCOMPARE(firstSecond, 7 * 3600);
        const QDateTime start(QDate(2000, 1, 1), QTime(7, 0), QTimeZone(9 * 3600));
        const TrackFile track = TrackFile::fromBytes(drive->toGpx(QStringLiteral("便1"), start));
        QCOMPARE(track.skipped, 0);
        QCOMPARE(track.points.size(), drive->points.size());
        QCOMPARE(track.points.back().timeMs, 480000); // arriving at the last stop

        std::vector<GpsStopTracker::Stop> stops;
        for (const RouteStop &stop : source.stops) {
            stops.push_back({stop.name, stop.lat ? std::optional(GeoPoint{*stop.lat, *stop.lon}) : std::nullopt});
        }
        GpsStopTracker tracker(stops);
        std::vector<int> stepped;
        for (const Point &point : track.points) {
            for (const GpsStopTracker::Step &step : tracker.update({point.timeMs, point.place, true}, point.timeMs))
                stepped.push_back(step.stop);
        }
        QCOMPARE(stepped, (std::vector<int>{0, 1, 2, 3}));
        QVERIFY(tracker.isAtStop());
    }

    void playsAtItsSpeed()
    {
        TrackFile track;
        track.points = {{0, {35.0, 139.0}, true}, {10000, {35.001, 139.0}, true}, {20000, {35.002, 139.0}, true}};
        FakeClock clock;
        qint64 &now = clock.ms;
        now = 5000;
        TrackReplaySource replay(track, QStringLiteral("t.gpx"), 10, clock);
        QSignalSpy fixes(&replay, &FixSource::fixReceived);
        QSignalSpy states(&replay, &FixSource::stateChanged);
        replay.start();
        QCOMPARE(fixes.size(), 1);
        now += 999;
        replay.poll();
        QCOMPARE(fixes.size(), 1);
        QCOMPARE(replay.nowMs(), 9990);
        now += 1;
        replay.poll();
        QCOMPARE(fixes.size(), 2);
        QCOMPARE(fixes.last().first().value<PositionFix>(), (PositionFix{10000, {35.001, 139.0}, true}));
        now += 5000; // late: the point still comes, once, and the track ends
        replay.poll();
        replay.poll();
        QCOMPARE(fixes.size(), 3);
        QCOMPARE(replay.state(), FixSource::State::Finished);
        QCOMPARE(states.size(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_TrackReplay)
#include "tst_TrackReplay.moc"
