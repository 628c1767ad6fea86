#include "RecordingClock.h"

#include <algorithm>

void RecordingClock::setNow(qint64 ms)
{
    m_now = std::max(m_now, ms);
}

void RecordingClock::wait(qint64 ms)
{
    const qint64 until = m_now + std::max<qint64>(ms, 0);
    if (m_waiter) {
        m_waiter(until);
    }
    setNow(until);
}
