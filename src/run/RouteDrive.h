#pragma once

#include "route/RouteSource.h"
#include "run/TrackFile.h"

#include <QString>

#include <optional>

// A drive along a route as a receiver would record it, to try following a
// GPS without a bus: a point a second, the bus going straight from stop to
// stop and standing at each from its arrival to its departure, by the times
// of a trip, or at a town bus's pace with a short halt at each stop. Stops
// without a position are driven past.
class RouteDrive
{
public:
    // 18 km/h: a town bus's pace, its stops and lights counted.
    static constexpr double PaceMetresPerSecond = 5;
    static constexpr int HaltSeconds = 20;
    // Longer than any trip; a drive would be far too many points.
    static constexpr int MaxSeconds = 48 * 3600;

    // The drive of `trip` (null: at the pace) along `source`'s stops;
    // nothing, with why in `error`, when fewer than two stops have a
    // position or it would last beyond MaxSeconds. `firstSecond` receives
    // when it begins: the trip's first time (seconds of its service day), 0
    // at the pace.
    static std::optional<TrackFile> make(const RouteSource &source, const RouteTrip *trip, int &firstSecond,
                                         QString &error);
};
