#pragma once

#include "run/MonotonicClock.h"

#include <QElapsedTimer>

// The system's monotonic clock: unmoved by a change of the time of day.
class SteadyClock : public MonotonicClock
{
public:
    SteadyClock();
    qint64 nowMs() const override;

private:
    QElapsedTimer m_timer;
};
