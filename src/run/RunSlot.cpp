#include "RunSlot.h"

#include "app/LogText.h"
#include "fare/BusOperation.h"
#include "run/GpsRun.h"
#include "run/RouteTrips.h"
#include "run/RunClock.h"
#include "run/RunLog.h"
#include "run/TimetableRun.h"
#include "sound/mdlM_Tape.h"

RunSlot::RunSlot(BusOperation &bus, const MonotonicClock &clock, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
    , m_clock(clock)
{
}

RunSlot::~RunSlot()
{
    if (m_run) {
        m_run->stop();
    }
}

void RunSlot::start(std::unique_ptr<BusRun> run)
{
    if (m_run) {
        release(QStringLiteral("次の運行に替わりました"));
    }
    m_run = std::move(run);
    BusRun *started = m_run.get();
    connect(started, &BusRun::changed, this, &RunSlot::changed);
    connect(started, &BusRun::ended, this, [this, started](const QString &why) {
        if (m_run.get() == started) {
            release(why);
        }
    });
    emit changed();
}

void RunSlot::release(const QString &why)
{
    // A run ends from inside its own code: it is deleted once that returns,
    // or with the slot when no event loop runs again.
    BusRun *run = m_run.release();
    run->stop();
    run->disconnect(this);
    run->setParent(this);
    run->deleteLater();
    qCInfo(lcRun).noquote() << QStringLiteral("運行を終えました: %1").arg(LogText::escaped(why));
    emit changed();
}

CommandResult RunSlot::startTimetable(const QString &tripId, int speed)
{
    if (speed < RunClock::MinSpeed || speed > RunClock::MaxSpeed) {
        return {CommandResult::Refused,
                QStringLiteral("速さは %1 から %2 までです").arg(RunClock::MinSpeed).arg(RunClock::MaxSpeed)};
    }
    if (const QString held = m_bus.heldReason(); !held.isEmpty()) {
        return {CommandResult::Unavailable, held};
    }
    QString problem;
    const std::optional<RouteTrips> trips = RouteTrips::forBus(m_bus, &problem);
    if (!trips) {
        return {CommandResult::Refused, problem};
    }
    const int firstStop = m_bus.route().state().StartSection;
    std::optional<TripSchedule> schedule = trips->schedule(tripId, firstStop, &problem);
    if (!schedule) {
        return {CommandResult::Refused, problem};
    }
    // Back to the start, as the operator would set the route (the run on
    // the board before ends with it), unless the bus stands there untouched.
    const bool atStart = m_bus.route().currentStop() == firstStop && m_bus.tape().GetTapePos() == 0;
    if (!atStart) {
        const CommandResult set = m_bus.setRoute(m_bus.route().state().RouteText, m_bus.sectionText());
        if (set.outcome != CommandResult::Done) {
            return set;
        }
    }
    auto run = std::make_unique<TimetableRun>(m_bus, m_clock, std::move(*schedule), speed);
    TimetableRun *timetable = run.get();
    qCInfo(lcRun).noquote() << QStringLiteral("時刻表運行を始めます: 系統 %1 便 %2 ×%3")
                                   .arg(LogText::escaped(m_bus.route().state().RouteText),
                                        LogText::escaped(tripId))
                                   .arg(speed);
    start(std::move(run));
    timetable->start();
    return {};
}

CommandResult RunSlot::startGps(std::unique_ptr<FixSource> source, double radiusMetres)
{
    if (const QString held = m_bus.heldReason(); !held.isEmpty()) {
        return {CommandResult::Unavailable, held};
    }
    QString problem;
    const std::optional<RouteTrips> route = RouteTrips::forBus(m_bus, &problem);
    if (!route) {
        return {CommandResult::Refused, problem};
    }
    std::vector<GpsStopTracker::Stop> stops;
    bool anyPlace = false;
    for (const RouteStop &stop : route->stops()) {
        std::optional<GeoPoint> place;
        if (stop.lat && stop.lon && GeoPoint{*stop.lat, *stop.lon}.isValid()) {
            place = GeoPoint{*stop.lat, *stop.lon};
            anyPlace = true;
        }
        stops.push_back({stop.name, place});
    }
    if (!anyPlace) {
        return {CommandResult::Refused, QStringLiteral("系統の元データに停留所の位置（lat、lon）がありません")};
    }
    const QString description = source->description();
    auto run = std::make_unique<GpsRun>(m_bus, std::move(source), std::move(stops), radiusMetres);
    GpsRun *gps = run.get();
    qCInfo(lcRun).noquote() << QStringLiteral("GPS運行を始めます: 系統 %1、%2、半径 %3 m")
                                   .arg(LogText::escaped(m_bus.route().state().RouteText),
                                        LogText::escaped(description))
                                   .arg(gps->tracker().radiusMetres());
    start(std::move(run));
    gps->start();
    return {};
}

CommandResult RunSlot::setPaused(bool paused)
{
    if (!m_run) {
        return {CommandResult::Unavailable, QStringLiteral("運行していません")};
    }
    return m_run->setPaused(paused);
}

CommandResult RunSlot::stop()
{
    if (m_run) {
        release(QStringLiteral("止めました"));
    }
    return {};
}

QJsonValue RunSlot::state() const
{
    return m_run ? QJsonValue(m_run->state()) : QJsonValue(QJsonValue::Null);
}

QString RunSlot::statusText() const
{
    return m_run ? m_run->statusText() : QString();
}
