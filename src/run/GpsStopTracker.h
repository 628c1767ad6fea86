#pragma once

#include "run/GeoPoint.h"
#include "run/PositionFix.h"
#include "settings/SideSettings.h"

#include <QString>

#include <optional>
#include <vector>

// Which stop the bus is at, from its position. The bus is at a stop while
// it is within the stop's circle; leaving that circle is its departure,
// where the operator would press 送り. A stop the bus passed without
// entering its circle (a poor fix, a stop it did not serve) is stepped past
// as soon as the bus is within the circle of a later stop, so that the board
// catches up with the bus. The tracker only says which steps to make; the
// run makes them.
class GpsStopTracker
{
public:
    // The option's range (the side settings keep it).
    static constexpr double DefaultRadiusMetres = SideSettings::DefaultGpsRadius;
    static constexpr double MinRadiusMetres = SideSettings::MinGpsRadius;
    static constexpr double MaxRadiusMetres = SideSettings::MaxGpsRadius;
    // A fix older than this says nothing about where the bus is now.
    static constexpr qint64 StaleAfterMs = 10000;

    struct Stop
    {
        QString name;
        std::optional<GeoPoint> place;
    };

    // A step past the stop at `stop` (0-based) and why.
    struct Step
    {
        enum class Reason {
            Departed,     // the bus left the stop's circle
            PassedUnseen, // the bus is at a later stop without having been in this one's circle
            NoPosition,   // the stop has no position to be tracked by
        };
        int stop = 0;
        Reason reason = Reason::Departed;

        bool operator==(const Step &) const = default;
    };

    // `radiusMetres` is held within [MinRadiusMetres, MaxRadiusMetres].
    explicit GpsStopTracker(std::vector<Stop> stops, double radiusMetres = DefaultRadiusMetres);

    int stopCount() const { return int(m_stops.size()); }
    double radiusMetres() const { return m_radius; }

    // The stop the board is at (0-based): the bus stands at it, or is on
    // its way to it.
    int currentStop() const { return m_current; }
    // Whether the bus is within the current stop's circle.
    bool isAtStop() const { return m_inside; }
    // The board moved without the tracker (a key, the timetable): the bus
    // goes on from there, not yet seen in that stop's circle.
    void setCurrentStop(int stop);

    // While a timetable is running it steps past the stops without a
    // position at their departure times; otherwise the tracker passes them
    // as soon as the bus is on its way to one.
    void setTimetableSteps(bool timetableSteps) { m_timetableSteps = timetableSteps; }

    // Takes a fix at `nowMs` (on the fix's clock) and gives the steps to
    // make, in order. An invalid or stale fix moves nothing.
    std::vector<Step> update(const PositionFix &fix, qint64 nowMs);

    // Whether the last valid fix is older than StaleAfterMs, or none came:
    // the bus then stays where it is.
    bool isStale(qint64 nowMs) const;
    const std::optional<PositionFix> &lastFix() const { return m_lastFix; }

private:
    bool isWithin(int stop, const GeoPoint &place) const;
    void step(std::vector<Step> &steps, Step::Reason reason);
    void passStopsWithoutPosition(std::vector<Step> &steps);
    QString stopLabel(int stop) const;

    std::vector<Stop> m_stops;
    double m_radius;
    int m_current = 0;
    bool m_inside = false;
    bool m_timetableSteps = false;
    std::optional<PositionFix> m_lastFix;
};
