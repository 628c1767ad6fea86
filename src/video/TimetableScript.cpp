#include "TimetableScript.h"

#include "fare/BusOperation.h"
#include "route/ServiceTime.h"
#include "run/RouteTrips.h"
#include "run/TimetableRun.h"
#include "video/RecordingClock.h"
#include "video/RecordingTimeline.h"
#include "video/SoundTimeline.h"
#include "video/TimelineSound.h"

#include <algorithm>

qint64 TimetableScript::VideoTime::nowMs() const
{
    return (m_heldAt ? *m_heldAt : m_clock.nowMs()) - m_heldFor;
}

void TimetableScript::VideoTime::hold(bool on)
{
    if (on && !m_heldAt) {
        m_heldAt = m_clock.nowMs();
    } else if (!on && m_heldAt) {
        m_heldFor += m_clock.nowMs() - *m_heldAt;
        m_heldAt.reset();
    }
}

TimetableScript::TimetableScript(BusOperation &bus, const SoundTimeline &sound, const RecordingClock &clock,
                                 RecordingTimeline &timeline, int fps, QString route, QString section, QString trip,
                                 int speed, std::optional<qint64> fromMs, std::optional<qint64> toMs)
    : m_bus(bus)
    , m_sound(sound)
    , m_clock(clock)
    , m_timeline(timeline)
    , m_time(clock)
    , m_frameMs((1000 + std::max(fps, 1) - 1) / std::max(fps, 1))
    , m_route(std::move(route))
    , m_section(std::move(section))
    , m_trip(std::move(trip))
    , m_speed(speed)
    , m_fromMs(fromMs)
    , m_toMs(toMs)
{
}

TimetableScript::~TimetableScript() = default;

QString TimetableScript::start()
{
    // Setting the route takes time of its own (the lamp test): none of it
    // goes into a video that begins later.
    if (m_fromMs) {
        m_timeline.setRecording(false);
    }
    const CommandResult set = m_bus.setRoute(m_route, m_section);
    if (set.outcome != CommandResult::Done) {
        return set.detail.isEmpty() ? set.reason : set.reason + QLatin1Char('\n') + set.detail;
    }
    QString problem;
    const std::optional<RouteTrips> trips = RouteTrips::forBus(m_bus, &problem);
    if (!trips) {
        return problem;
    }
    std::optional<TripSchedule> schedule = trips->schedule(m_trip, m_bus.route().currentStop(), &problem);
    if (!schedule) {
        return problem;
    }
    m_run = std::make_unique<TimetableRun>(m_bus, m_time, std::move(*schedule), m_speed);
    m_beginMs = m_run->clock().nowMs();
    m_endMs = qint64(m_run->schedule().arrival) * 1000;
    if (m_toMs) {
        if (*m_toMs <= m_beginMs || (m_fromMs && *m_toMs <= *m_fromMs)) {
            return QStringLiteral("--to は運行の始まり（%1）と --from より後の時刻です")
                .arg(ServiceTime::format(int(m_beginMs / 1000)));
        }
        m_endMs = std::min(m_endMs, *m_toMs);
    }
    if (m_fromMs) {
        if (*m_fromMs >= m_endMs) {
            return QStringLiteral("--from は終点の到着（%1）より前の時刻です").arg(ServiceTime::format(int(m_endMs / 1000)));
        }
        m_timeline.setRecording(*m_fromMs <= m_beginMs);
    }
    QObject::connect(m_run.get(), &BusRun::ended, [this](const QString &) { m_finished = true; });
    m_run->start();
    return {};
}

bool TimetableScript::sounding() const
{
    return m_sound.lastEnd() > TimelineSound::sampleAt(m_clock.nowMs()) || m_bus.speaking();
}

void TimetableScript::tick()
{
    if (m_finished || !m_run) {
        return;
    }
    const qint64 runNow = m_run->clock().nowMs();
    if (!m_timeline.recording() && m_fromMs && runNow >= *m_fromMs) {
        m_timeline.setRecording(true);
    }
    if (m_toMs && runNow >= *m_toMs) {
        m_finished = true;
        return;
    }
    m_run->advanceWords();
    // A departure waits for the stop's sounds and words: the run clock
    // stands just short of it until they have ended, and the bus leaves in
    // the frame after.
    const bool busy = sounding() || m_run->saying();
    m_time.hold(busy && runNow + qint64(m_frameMs) * m_speed >= m_run->nextAtMs());
    m_run->tick();
}

double TimetableScript::progress() const
{
    if (m_finished) {
        return 1;
    }
    if (!m_run) {
        return 0;
    }
    const qint64 from = m_fromMs ? std::max(*m_fromMs, m_beginMs) : m_beginMs;
    return std::clamp(double(m_run->clock().nowMs() - from) / double(std::max<qint64>(1, m_endMs - from)), 0.0, 1.0);
}
