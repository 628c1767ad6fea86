#include "RunClock.h"

#include "run/MonotonicClock.h"

RunClock::RunClock(const MonotonicClock &clock, qint64 startMs, int speed)
    : m_clock(clock)
    , m_originRunMs(startMs)
    , m_originRealMs(clock.nowMs())
    , m_speed(qBound(MinSpeed, speed, MaxSpeed))
{
}

qint64 RunClock::nowMs() const
{
    if (m_paused) {
        return m_originRunMs;
    }
    return m_originRunMs + (m_clock.nowMs() - m_originRealMs) * m_speed;
}

void RunClock::rebase()
{
    m_originRunMs = nowMs();
    m_originRealMs = m_clock.nowMs();
}

void RunClock::setSpeed(int speed)
{
    speed = qBound(MinSpeed, speed, MaxSpeed);
    if (speed == m_speed) {
        return;
    }
    rebase();
    m_speed = speed;
}

void RunClock::setPaused(bool paused)
{
    if (paused == m_paused) {
        return;
    }
    rebase();
    m_paused = paused;
}

qint64 RunClock::realMsUntil(qint64 runMs) const
{
    const qint64 ahead = runMs - nowMs();
    if (ahead <= 0) {
        return 0;
    }
    if (m_paused) {
        return -1;
    }
    return (ahead + m_speed - 1) / m_speed;
}
