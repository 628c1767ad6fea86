#include "SteadyClock.h"

SteadyClock::SteadyClock()
{
    m_timer.start();
}

qint64 SteadyClock::nowMs() const
{
    return m_timer.elapsed();
}
