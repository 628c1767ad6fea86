#include "ScrollMotion.h"

#include <cmath>

void ScrollMotion::start(qint64 nowMs, int frameHeight, int stripHeight, int startWaitMs)
{
    m_frameHeight = frameHeight;
    m_stripHeight = stripHeight;
    restart();
    m_movingFrom = (nowMs + qMax(startWaitMs, 0)) * PassesPerMs;
    m_inStartPause = true;
}

void ScrollMotion::restart()
{
    m_position = m_frameHeight;
    m_top = m_frameHeight;
}

void ScrollMotion::rise(double pixels)
{
    m_position = qMin(m_position - pixels, double(m_frameHeight));
    m_top = static_cast<int>(std::floor(m_position));
}

qint64 ScrollMotion::passesToRestart(double step) const
{
    if (step <= 0) {
        return 0;
    }
    // The restart comes with the first pass after which
    // top + strip height <= -frame height, where top = floor(position).
    const double restartBelow = -m_frameHeight - m_stripHeight + 1;
    const double passes = std::floor((m_position - restartBelow) / step) + 1;
    return qMax(qint64(1), static_cast<qint64>(passes));
}

void ScrollMotion::advanceTo(qint64 nowMs, int speed, int startWaitMs)
{
    const qint64 now = nowMs * PassesPerMs;
    if (now <= m_movingFrom) {
        return;
    }
    m_inStartPause = false;
    const double step = speed * PixelsPerSpeedPerPass;
    const qint64 restartPause = qint64(qMax(startWaitMs, 0)) * PassesPerMs;
    qint64 passes = now - m_movingFrom;
    m_movingFrom = now;
    for (;;) {
        const qint64 untilRestart = passesToRestart(step);
        if (untilRestart == 0 || untilRestart > passes) {
            rise(passes * step);
            return;
        }
        restart();
        passes -= untilRestart + restartPause;
        if (passes < 0) {
            m_movingFrom = now - passes; // still in the pause
            return;
        }
        // From the restart on every round is alike: after a long stall of
        // the event loop, skip the whole rounds it missed.
        passes %= passesToRestart(step) + restartPause;
    }
}
