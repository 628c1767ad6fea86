#include "RunBus.h"

#include "run/TimetableRun.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

namespace {

// Five stops, leaving 07:00, 07:01, 07:02, 07:03, arriving 07:04.
const char *const Source = R"({"format": "tavelo-route", "version": 1, "route": "%1",
 "fareRule": {"kind": "flat", "fare": 200},
 "stops": [{"name": "駅前"}, {"name": "上町"}, {"name": "中町"}, {"name": "下町"}, {"name": "終点"}],
 "trips": [{"id": "T1", "headsign": "終点行き", "service": {"id": "毎日"},
   "times": [{"departure": "07:00:00"}, {"arrival": "07:00:50", "departure": "07:01:00"},
             {"departure": "07:02:00"}, {"departure": "07:03:00"}, {"arrival": "07:04:00"}]}]})";

// The bus, its timetable run moved on by hand.
struct Bus : RunBus
{
    using RunBus::RunBus;

    TimetableRun *run() const { return qobject_cast<TimetableRun *>(runs.run()); }
    // Moves the real clock to `ms` and lets the run do what is due.
    void at(qint64 ms)
    {
        clock.ms = ms;
        if (TimetableRun *timetable = run()) {
            timetable->tick();
        }
    }
};

} // namespace

class tst_TimetableRun : public QObject
{
    Q_OBJECT

private:
    RouteFolder m_routes;

private slots:
    void initTestCase()
    {
        // Route 5 speaks: an opening, a line before the second step, and a
        // closing. Route 6 has the same stops and no announcements.
        QVERIFY(m_routes.add(QStringLiteral("5"), QString::fromUtf8(Source).arg(5).toUtf8(),
                             QStringLiteral("ようこそ,0,0\r\n次は上町,1,0\r\n傘,0,0\r\n次は中町,1,0\r\n"
                                            "次は下町,1,0\r\n次は終点,1,0\r\nありがとう,0,0\r\n")));
        QVERIFY(m_routes.add(QStringLiteral("6"), QString::fromUtf8(Source).arg(6).toUtf8()));
    }

    // A trip the board cannot follow is refused with what is wrong, and the
    // bus and the run going on stay as they were.
    void aTripThatCannotBeRunIsRefusedAndChangesNothing()
    {
        const auto source = [](const QString &stops, const QString &times) {
            return QStringLiteral(R"({"format": "tavelo-route", "version": 1, "route": "7",
                "fareRule": {"kind": "flat", "fare": 200}, "stops": [%1],
                "trips": [{"id": "T1", "headsign": "h", "service": {"id": "s"}, "times": [%2]}]})")
                .arg(stops, times)
                .toUtf8();
        };
        const QString five = R"({"name": "a"}, {"name": "b"}, {"name": "c"}, {"name": "d"}, {"name": "e"})";
        const QString four = R"({"name": "a"}, {"name": "b"}, {"name": "c"}, {"name": "d"})";
        const QList<QPair<QByteArray, QString>> cases = {
            {source(four, R"({}, {}, {}, {})"), QStringLiteral("停留所は 4 か所、運賃データは 5 か所")},
            {source(five, R"({"departure": "07:00:00"}, {}, {"departure": "07:02:00"}, {"departure": "07:03:00"},
                             {"arrival": "07:04:00"})"),
             QStringLiteral("停留所 2（b）に時刻がありません")},
            {source(five, R"({"departure": "07:00:00"}, {"departure": "06:59:00"}, {"departure": "07:02:00"},
                             {"departure": "07:03:00"}, {"arrival": "07:04:00"})"),
             QStringLiteral("停留所 2 の時刻 06:59:00 が前の停留所より早く")},
        };
        QVERIFY(FareFiles::writeStops(m_routes.filePath("7.hy3"), 5));
        Bus b(m_routes.path());
        QVERIFY(b.bus.setRoute("5", "1").outcome == CommandResult::Done);
        QCOMPARE(b.runs.startTimetable("T1", 60).outcome, CommandResult::Done);
        BusRun *running = b.runs.run();
        QCOMPARE(b.runs.startTimetable("T1", 601).outcome, CommandResult::Refused);
        QCOMPARE(b.runs.startTimetable("T2", 60).reason.contains("T2"), true);
        QCOMPARE(b.runs.run(), running);

        QVERIFY(b.bus.setRoute("7", "1").outcome == CommandResult::Done);
        QCOMPARE(b.bus.step(true).outcome, CommandResult::Done);
        for (const auto &[json, why] : cases) {
            QVERIFY(FareFiles::write(m_routes.filePath("7.route.json"), json));
            const CommandResult result = b.runs.startTimetable("T1", 60);
            QCOMPARE(result.outcome, CommandResult::Refused);
            QVERIFY2(result.reason.contains(why), qPrintable(result.reason));
            QCOMPARE(b.stop(), 2);
            QVERIFY(!b.runs.run());
        }
    }

    // Every line ends as soon as it is said: each departure steps the board
    // at the scaled time of its timetable, to the millisecond of the clock.
    void stepsAtTheirScaledTimesAndEndsAtTheTerminal()
    {
        Bus b(m_routes.path());
        QVERIFY(b.bus.setRoute("5", "1").outcome == CommandResult::Done);
        b.speech.lastEngine->speakSucceeds = false;
        b.clock.ms = 1000;
        QCOMPARE(b.runs.startTimetable("T1", 60).outcome, CommandResult::Done);
        QCOMPARE(b.spoken(), QStringList{"speak ようこそ"});
        QCOMPARE(b.stop(), 1);
        const QJsonObject state = b.runs.state().toObject();
        QCOMPARE(state.value("clock").toString(), "06:59:50");
        QCOMPARE(state.value("next").toObject(), (QJsonObject{{"position", 2}, {"at", "07:00:00"}}));
        QCOMPARE(b.run()->clock().realMsUntil(7 * 3600 * 1000), 167); // 10 s at 60 times

        // Leaving 駅前 at 07:00:00 = 1000 + 10000/60 ms of real time.
        b.at(1166);
        QCOMPARE(b.stop(), 1);
        b.at(1167);
        QCOMPARE(b.stop(), 2);
        // Leaving 上町: the line before the stepping one first.
        b.at(2166);
        QCOMPARE(b.stop(), 2);
        b.at(2167);
        QCOMPARE(b.stop(), 3);
        QCOMPARE(b.spoken().mid(1), (QStringList{"speak 次は上町", "speak 傘", "speak 次は中町"}));
        b.at(3167);
        b.at(4167);
        QCOMPARE(b.stop(), 5);
        QVERIFY(b.runs.run());
        QCOMPARE(b.runs.statusText(), QStringLiteral("時刻表運行 ×60 07:03:00\n次 07:04 停留所5"));

        QSignalSpy ended(b.runs.run(), &BusRun::ended);
        b.at(5166);
        QCOMPARE(ended.count(), 0);
        b.at(5167);
        QCOMPARE(ended.count(), 1);
        QCOMPARE(b.spoken().last(), "speak ありがとう");
        QVERIFY(!b.runs.run());
        QVERIFY(b.runs.state().isNull());
    }

    // At 600 times a line still being said when the bus leaves again is
    // cut short; the line it had not reached steps the board unsaid, so the
    // board keeps the timetable.
    void theTimetableCutsAnAnnouncementShort()
    {
        Bus b(m_routes.path());
        QVERIFY(b.bus.setRoute("5", "1").outcome == CommandResult::Done);
        QCOMPARE(b.runs.startTimetable("T1", 600).outcome, CommandResult::Done);
        // "ようこそ" goes on being said; it is cut at the first departure.
        b.at(17); // 10 s at 600 times
        QCOMPARE(b.stop(), 2);
        b.at(117);
        QCOMPARE(b.stop(), 2); // "傘" is being said
        b.at(217);
        QCOMPARE(b.stop(), 4);
        QVERIFY(!b.spoken().contains("speak 次は中町"));
        QCOMPARE(b.spoken().last(), "speak 次は下町");
        QVERIFY(b.log.indexOf("stop", b.log.indexOf("speak 傘")) > 0);
    }

    // The operator steps the bus on by hand: the run goes on from there,
    // never leaving again a stop passed, and a pause holds the clock.
    void anOperatorKeyDuringTheRunIsTakenAndTheRunGoesOnFromThere()
    {
        Bus b(m_routes.path());
        QVERIFY(b.bus.setRoute("6", "1").outcome == CommandResult::Done);
        QCOMPARE(b.runs.startTimetable("T1", 60).outcome, CommandResult::Done);
        b.at(167);
        QCOMPARE(b.stop(), 2);
        QCOMPARE(b.bus.step(true).outcome, CommandResult::Done);
        QCOMPARE(b.stop(), 3);
        QCOMPARE(b.runs.state().toObject().value("next").toObject().value("at").toString(), "07:02:00");
        b.at(1167); // 上町's departure: the bus has left it already
        QCOMPARE(b.stop(), 3);

        QCOMPARE(b.runs.setPaused(true).outcome, CommandResult::Done);
        b.at(60000);
        QCOMPARE(b.stop(), 3);
        QCOMPARE(b.runs.state().toObject().value("clock").toString(), "07:01:00");
        QVERIFY(b.runs.statusText().contains("一時停止中"));
        QCOMPARE(b.runs.setPaused(false).outcome, CommandResult::Done);
        b.at(60999);
        QCOMPARE(b.stop(), 3);
        b.at(61000);
        QCOMPARE(b.stop(), 4); // without announcements, a data step
    }
};

QTEST_GUILESS_MAIN(tst_TimetableRun)
#include "tst_TimetableRun.moc"
