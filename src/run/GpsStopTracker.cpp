#include "GpsStopTracker.h"

#include "app/LogText.h"
#include "run/GpsLog.h"

#include <algorithm>
#include <cmath>

GpsStopTracker::GpsStopTracker(std::vector<Stop> stops, double radiusMetres)
    : m_stops(std::move(stops))
    , m_radius(std::isfinite(radiusMetres) ? std::clamp(radiusMetres, MinRadiusMetres, MaxRadiusMetres)
                                           : DefaultRadiusMetres)
{
    // A position out of the globe could never be reached; it is as good as none.
    for (Stop &stop : m_stops) {
        if (stop.place && !stop.place->isValid())
            stop.place.reset();
    }
}

void GpsStopTracker::setCurrentStop(int stop)
{
    if (m_stops.empty())
        return;
    stop = std::clamp(stop, 0, stopCount() - 1);
    if (stop == m_current)
        return;
    m_current = stop;
    m_inside = false;
}

bool GpsStopTracker::isStale(qint64 nowMs) const
{
    return !m_lastFix || nowMs - m_lastFix->timeMs > StaleAfterMs;
}

bool GpsStopTracker::isWithin(int stop, const GeoPoint &place) const
{
    const std::optional<GeoPoint> &at = m_stops[size_t(stop)].place;
    return at && GeoPoint::distanceMetres(*at, place) <= m_radius;
}

QString GpsStopTracker::stopLabel(int stop) const
{
    return QStringLiteral("%1 %2").arg(stop + 1).arg(LogText::escaped(m_stops[size_t(stop)].name));
}

void GpsStopTracker::step(std::vector<Step> &steps, Step::Reason reason)
{
    switch (reason) {
    case Step::Reason::Departed:
        break;
    case Step::Reason::PassedUnseen:
        qCInfo(lcGps).noquote() << "Stop" << stopLabel(m_current)
                                << "passed without coming within" << m_radius << "m of it";
        break;
    case Step::Reason::NoPosition:
        qCInfo(lcGps).noquote() << "Stop" << stopLabel(m_current) << "has no position: passed";
        break;
    }
    steps.push_back({m_current, reason});
    ++m_current;
    m_inside = false;
}

void GpsStopTracker::passStopsWithoutPosition(std::vector<Step> &steps)
{
    if (m_timetableSteps)
        return;
    while (m_current + 1 < stopCount() && !m_stops[size_t(m_current)].place)
        step(steps, Step::Reason::NoPosition);
}

std::vector<GpsStopTracker::Step> GpsStopTracker::update(const PositionFix &fix, qint64 nowMs)
{
    std::vector<Step> steps;
    if (m_stops.empty() || !fix.valid || !fix.place.isValid() || nowMs - fix.timeMs > StaleAfterMs)
        return steps;
    if (!m_lastFix || fix.timeMs >= m_lastFix->timeMs)
        m_lastFix = fix;

    passStopsWithoutPosition(steps);
    if (isWithin(m_current, fix.place)) {
        m_inside = true;
        return steps;
    }
    if (m_inside) {
        // Out of the circle it was in: the bus leaves the stop. The last
        // stop has nothing after it to step to.
        if (m_current + 1 >= stopCount())
            return steps;
        step(steps, Step::Reason::Departed);
        passStopsWithoutPosition(steps);
        m_inside = isWithin(m_current, fix.place);
        return steps;
    }
    // On its way to the current stop: is the bus at a later one already?
    // The nearest in the route's order counts, so that a route ending where
    // it began does not jump to its end.
    for (int later = m_current + 1; later < stopCount(); ++later) {
        if (!isWithin(later, fix.place))
            continue;
        while (m_current < later) {
            step(steps, m_stops[size_t(m_current)].place ? Step::Reason::PassedUnseen
                                                         : Step::Reason::NoPosition);
        }
        m_inside = true;
        break;
    }
    return steps;
}
