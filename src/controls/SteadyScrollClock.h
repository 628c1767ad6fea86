#pragma once

#include "ScrollClock.h"

#include <QElapsedTimer>

// Wall-clock time from a monotonic source, counted from the clock's creation.
class SteadyScrollClock : public ScrollClock
{
public:
    SteadyScrollClock();
    qint64 nowMs() const override;

private:
    QElapsedTimer m_elapsed;
};
