#pragma once

#include "run/MonotonicClock.h"

// A clock moved by hand.
class FakeClock : public MonotonicClock
{
public:
    qint64 ms = 0;
    qint64 nowMs() const override { return ms; }
};
