#include "TimetableRun.h"

#include "fare/BusOperation.h"
#include "route/ServiceTime.h"

#include <QJsonValue>

namespace {

QString clockText(qint64 ms)
{
    return ServiceTime::format(static_cast<int>(qMax<qint64>(0, ms) / 1000));
}

} // namespace

TimetableRun::TimetableRun(BusOperation &bus, const MonotonicClock &clock, TripSchedule schedule, int speed,
                           QObject *parent)
    : BusRun(parent)
    , m_bus(bus)
    , m_schedule(std::move(schedule))
    , m_clock(clock, qMax<qint64>(0, (qint64(m_schedule.departureFrom(m_schedule.firstStop)) - LeadSeconds) * 1000), speed)
    , m_sequence(bus)
    , m_next(m_schedule.firstStop)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TimetableRun::tick);
    followRoute(m_bus);
}

void TimetableRun::start()
{
    m_sequence.open();
    tick();
}

int TimetableRun::nextDeparture() const
{
    // Stops the operator has stepped past by hand are not left again.
    return qMax(m_next, qMin(m_bus.route().currentStop(), m_schedule.lastStop));
}

int TimetableRun::nextPosition() const
{
    return qMin(nextDeparture() + 1, m_schedule.lastStop);
}

qint64 TimetableRun::nextAtMs() const
{
    const int from = nextDeparture();
    return qint64(from >= m_schedule.lastStop ? m_schedule.arrival : m_schedule.departureFrom(from)) * 1000;
}

void TimetableRun::tick()
{
    if (stopped()) {
        return;
    }
    if (m_finishing) {
        if (!m_sequence.busy()) {
            end(QStringLiteral("終点に着きました"));
            return;
        }
        setTimer();
        return;
    }
    const qint64 now = m_clock.nowMs();
    m_next = nextDeparture();
    m_retry = false;
    while (m_next < m_schedule.lastStop && now >= nextAtMs()) {
        if (m_sequence.leave().outcome != CommandResult::Done) {
            m_retry = true;
            break;
        }
        m_next = qMax(m_next + 1, nextDeparture());
    }
    if (!m_retry && m_next >= m_schedule.lastStop && now >= nextAtMs()) {
        m_sequence.finish();
        m_finishing = true;
        if (!m_sequence.busy()) {
            end(QStringLiteral("終点に着きました"));
            return;
        }
    }
    emit changed();
    setTimer();
}

void TimetableRun::setTimer()
{
    if (m_clock.paused() && !m_finishing) {
        m_timer.stop();
        return;
    }
    qint64 wait = ShowClockMs;
    if (m_retry) {
        wait = RetryMs;
    } else if (!m_finishing) {
        wait = qMin(wait, m_clock.realMsUntil(nextAtMs()));
    }
    m_timer.start(static_cast<int>(qMax<qint64>(0, wait)));
}

CommandResult TimetableRun::setPaused(bool paused)
{
    if (paused != m_clock.paused()) {
        if (paused) {
            tick(); // what is due now is done before the clock stands still
        }
        if (stopped()) {
            return {};
        }
        m_clock.setPaused(paused);
        emit changed();
        setTimer();
    }
    return {};
}

void TimetableRun::stop()
{
    markStopped();
    m_timer.stop();
    m_sequence.abandon();
}

QJsonObject TimetableRun::state() const
{
    QJsonValue next;
    if (!m_finishing) {
        next = QJsonObject{{"position", nextPosition()}, {"at", clockText(nextAtMs())}};
    }
    return {{"mode", mode()},
            {"trip", m_schedule.tripId},
            {"speed", m_clock.speed()},
            {"clock", clockText(m_clock.nowMs())},
            {"paused", m_clock.paused()},
            {"next", next}};
}

QString TimetableRun::statusText() const
{
    QString text = QStringLiteral("時刻表運行 ×%1 %2").arg(m_clock.speed()).arg(clockText(m_clock.nowMs()));
    if (m_clock.paused()) {
        text += QStringLiteral("（一時停止中）");
    }
    if (m_finishing) {
        return text + QStringLiteral("\n終点に着きました");
    }
    return text + QStringLiteral("\n次 %1 %2").arg(clockText(nextAtMs()).chopped(3),
                                                m_bus.route().table().slot(nextPosition()).name);
}
