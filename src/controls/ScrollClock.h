#pragma once

#include <QtGlobal>

// The time the stop-name strip scrolls by: milliseconds that only ever grow.
// Tests hand the strip a clock they move by hand.
class ScrollClock
{
public:
    virtual ~ScrollClock() = default;
    virtual qint64 nowMs() const = 0;
};
