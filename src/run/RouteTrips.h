#pragma once

#include "route/RouteSource.h"
#include "run/TripSchedule.h"

#include <QString>

#include <optional>

class BusOperation;

// The trips of the route set on the bus, from its route source
// "<route>.route.json" beside its fare data "<route>.hy3": the source's
// stops are the board's stops, in the same order.
class RouteTrips
{
public:
    // Nothing, with why in `problem`, when no route is set or its source
    // is missing, unreadable or of another number of stops.
    static std::optional<RouteTrips> forBus(const BusOperation &bus, QString *problem);

    const std::vector<RouteTrip> &trips() const { return m_source.trips; }
    const std::vector<RouteStop> &stops() const { return m_source.stops; }
    const RouteTrip *find(const QString &tripId) const;
    // The times of the trip from `firstStop` (1-based) to the last stop;
    // nothing, with why in `problem`, for an unknown trip, a missing time,
    // or a time earlier than the one before.
    std::optional<TripSchedule> schedule(const QString &tripId, int firstStop, QString *problem) const;
    // The departure from `stop` (1-based) of `trip`, or its arrival there
    // when the trip gives none; nothing without either.
    static std::optional<int> departure(const RouteTrip &trip, int stop);

private:
    explicit RouteTrips(RouteSource source, QString path);

    RouteSource m_source;
    QString m_path;
};
