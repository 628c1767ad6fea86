#pragma once

#include <QtGlobal>

class MonotonicClock;

// The clock of a run: a time of the service day (milliseconds from the
// midnight that starts it) that goes at `speed` times real time and can be
// paused. Changing the speed or pausing keeps the time it shows.
class RunClock
{
public:
    static constexpr int MinSpeed = 1;
    static constexpr int MaxSpeed = 600;

    // Starts at `startMs`, running; the speed is kept within MinSpeed..MaxSpeed.
    RunClock(const MonotonicClock &clock, qint64 startMs, int speed);

    qint64 nowMs() const;
    int speed() const { return m_speed; }
    void setSpeed(int speed);
    bool paused() const { return m_paused; }
    void setPaused(bool paused);

    // Real milliseconds until the run time reaches `runMs`, rounded up: 0
    // when it has; -1 while paused, when it never will.
    qint64 realMsUntil(qint64 runMs) const;

private:
    // Takes the time shown now as the new origin.
    void rebase();

    const MonotonicClock &m_clock;
    qint64 m_originRunMs;
    qint64 m_originRealMs;
    int m_speed;
    bool m_paused = false;
};
