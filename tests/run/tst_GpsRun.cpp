#include "RunBus.h"

#include "run/GpsRun.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

namespace {

// A receiver moved by hand, on the test's clock.
class HandFixSource : public FixSource
{
public:
    explicit HandFixSource(const FakeClock &clock) : m_clock(clock) {}

    State reported = State::Receiving;

    void start() override { emit stateChanged(reported); }
    State state() const override { return reported; }
    qint64 nowMs() const override { return m_clock.ms; }
    QString description() const override { return QStringLiteral("手"); }

    // `metres` north of stop `stop` (1-based) of the route below.
    void at(int stop, double metres = 0)
    {
        emit fixReceived({m_clock.ms, {35.0 + 0.001 * (stop - 1) + metres / 111195.0, 139.0}, true});
    }

private:
    const FakeClock &m_clock;
};

// Five stops northwards, 111 m apart; 中町 has no position.
const char *const Source = R"({"format": "tavelo-route", "version": 1, "route": "8",
 "fareRule": {"kind": "flat", "fare": 200},
 "stops": [{"name": "駅前", "lat": 35.0, "lon": 139.0}, {"name": "上町", "lat": 35.001, "lon": 139.0},
           {"name": "中町"}, {"name": "下町", "lat": 35.003, "lon": 139.0},
           {"name": "終点", "lat": 35.004, "lon": 139.0}]})";

// The bus, its GPS run looked at by hand.
struct GpsBus : RunBus
{
    using RunBus::RunBus;

    GpsRun *gpsRun() const { return qobject_cast<GpsRun *>(runs.run()); }
};

} // namespace

class tst_GpsRun : public QObject
{
    Q_OBJECT

private:
    RouteFolder m_routes;

private slots:
    void initTestCase()
    {
        QVERIFY(m_routes.add(QStringLiteral("8"), Source,
                             QStringLiteral("ようこそ,0,0\r\n次は上町,1,0\r\n次は中町,1,0\r\n"
                                            "次は下町,1,0\r\n次は終点,1,0\r\nありがとう,0,0\r\n")));
    }

    // Out of a stop's circle the bus leaves it with its words; stops passed
    // unseen or without a position are caught up at the next stop reached;
    // a stale position holds the bus; at the terminal the run ends.
    void followsThePositionStopByStop()
    {
        GpsBus b(m_routes.path());
        QVERIFY(b.bus.setRoute("8", "1").outcome == CommandResult::Done);
        b.speech.lastEngine->speakSucceeds = false;
        auto source = std::make_unique<HandFixSource>(b.clock);
        HandFixSource &gps = *source;
        QCOMPARE(b.runs.startGps(std::move(source), 30).outcome, CommandResult::Done);
        QCOMPARE(b.spoken(), QStringList{"speak ようこそ"});
        QVERIFY(b.runs.statusText().endsWith(QStringLiteral("位置を待っています")));

        gps.at(1, -20);
        gps.at(1, 25);
        QCOMPARE(b.stop(), 1);
        QVERIFY(b.runs.statusText().endsWith(QStringLiteral("停車中 停留所1")));
        gps.at(1, 35);
        QCOMPARE(b.stop(), 2);
        QCOMPARE(b.spoken().last(), "speak 次は上町");

        // Past 上町 and 中町 unseen, straight into 下町's circle.
        gps.at(4, -10);
        QCOMPARE(b.stop(), 4);
        QCOMPARE(b.spoken().last(), "speak 次は下町");
        QJsonObject state = b.runs.state().toObject();
        QCOMPARE(state.value("mode").toString(), "gps");
        QCOMPARE(state.value("stale").toBool(), false);
        QCOMPARE(state.value("fix").toObject().value("lat").toDouble(), 35.003 - 10 / 111195.0);

        // Nothing for 11 s: stale, and the bus stays.
        b.clock.ms += 11000;
        b.gpsRun()->check();
        state = b.runs.state().toObject();
        QVERIFY(state.value("stale").toBool());
        QCOMPARE(state.value("fix").toObject().value("age").toDouble(), 11.0);
        QVERIFY(b.runs.statusText().endsWith(QStringLiteral("位置が 11 秒前のまま（止まったまま）")));
        QCOMPARE(b.stop(), 4);

        gps.at(4, 50);
        QCOMPARE(b.stop(), 5);
        QSignalSpy ended(b.runs.run(), &BusRun::ended);
        gps.at(5);
        QCOMPARE(ended.count(), 1);
        QCOMPARE(b.spoken().last(), "speak ありがとう");
        QVERIFY(!b.runs.run());
    }

    void saysWhenThereIsNoGpsd()
    {
        GpsBus b(m_routes.path());
        QVERIFY(b.bus.setRoute("8", "1").outcome == CommandResult::Done);
        auto source = std::make_unique<HandFixSource>(b.clock);
        source->reported = FixSource::State::Unavailable;
        QCOMPARE(b.runs.startGps(std::move(source), 30).outcome, CommandResult::Done);
        QVERIFY(b.runs.statusText().endsWith(QStringLiteral("gpsd がありません（止まったまま）")));
        QVERIFY(b.runs.state().toObject().value("stale").toBool());
        QVERIFY(b.runs.state().toObject().value("fix").isNull());
    }
};

QTEST_GUILESS_MAIN(tst_GpsRun)
#include "tst_GpsRun.moc"
