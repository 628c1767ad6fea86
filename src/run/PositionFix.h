#pragma once

#include "run/GeoPoint.h"

#include <QtGlobal>

// Where the receiver put the bus, and when.
struct PositionFix
{
    // Milliseconds on the clock of the source that gave it (see
    // FixSource::nowMs), so that its age is that clock's now less this.
    qint64 timeMs = 0;
    GeoPoint place;
    // False when the receiver reported that it has no position.
    bool valid = false;

    bool operator==(const PositionFix &) const = default;
};
