#include "SteadyScrollClock.h"

SteadyScrollClock::SteadyScrollClock()
{
    m_elapsed.start();
}

qint64 SteadyScrollClock::nowMs() const
{
    return m_elapsed.elapsed();
}
