#pragma once

#include <QtGlobal>

// Time that only goes forward, in milliseconds from an origin of its own:
// what a run of the bus measures its progress by. The program uses the
// steady clock of the system; a test gives one it moves by hand.
class MonotonicClock
{
public:
    virtual ~MonotonicClock() = default;
    virtual qint64 nowMs() const = 0;
};
