#include "RouteTrips.h"

#include "fare/BusOperation.h"
#include "fare/RouteSetting.h"
#include "route/ServiceTime.h"

#include <QDir>
#include <QFileInfo>

RouteTrips::RouteTrips(RouteSource source, QString path)
    : m_source(std::move(source))
    , m_path(std::move(path))
{
}

std::optional<RouteTrips> RouteTrips::forBus(const BusOperation &bus, QString *problem)
{
    const FareRoute &route = bus.route();
    if (!route.hasRoute()) {
        *problem = QStringLiteral("系統が設定されていません");
        return std::nullopt;
    }
    const RouteRequest request = RouteSetting::request(route.state().RouteText, bus.sectionText());
    const QString fare = RouteSetting::fareFilePath(bus.fareFolder(), request.routeNumber);
    // Named in full in what is said: the fare folder may be the working one.
    const QString path = QFileInfo(fare.chopped(4) + RouteSource::fileSuffix()).absoluteFilePath();
    if (!QFileInfo::exists(path)) {
        *problem = QStringLiteral("系統 %1 の時刻表がありません（%2 がありません）")
                       .arg(route.state().RouteText, QDir::toNativeSeparators(path));
        return std::nullopt;
    }
    QString error;
    std::optional<RouteSource> source = RouteSource::readFile(path, error);
    if (!source) {
        *problem = error;
        return std::nullopt;
    }
    const int boardStops = route.state().RecordCount;
    if (static_cast<int>(source->stops.size()) != boardStops) {
        *problem = QStringLiteral("%1 の停留所は %2 か所、運賃データは %3 か所です。同じ系統のものか確かめてください")
                       .arg(QDir::toNativeSeparators(path))
                       .arg(source->stops.size())
                       .arg(boardStops);
        return std::nullopt;
    }
    return RouteTrips(std::move(*source), path);
}

const RouteTrip *RouteTrips::find(const QString &tripId) const
{
    for (const RouteTrip &trip : m_source.trips) {
        if (trip.id == tripId) {
            return &trip;
        }
    }
    return nullptr;
}

std::optional<int> RouteTrips::departure(const RouteTrip &trip, int stop)
{
    if (stop < 1 || stop > static_cast<int>(trip.times.size())) {
        return std::nullopt;
    }
    const StopTime &time = trip.times.at(static_cast<size_t>(stop - 1));
    return time.departure ? time.departure : time.arrival;
}

std::optional<TripSchedule> RouteTrips::schedule(const QString &tripId, int firstStop, QString *problem) const
{
    const RouteTrip *trip = find(tripId);
    if (!trip) {
        *problem = QStringLiteral("便「%1」は %2 にありません").arg(tripId, QDir::toNativeSeparators(m_path));
        return std::nullopt;
    }
    const int lastStop = static_cast<int>(m_source.stops.size());
    if (firstStop >= lastStop) {
        *problem = QStringLiteral("始まりの停留所（%1）が終点です。走る区間がありません").arg(firstStop);
        return std::nullopt;
    }
    const auto missing = [&](int stop) {
        return QStringLiteral("便「%1」の停留所 %2（%3）に時刻がありません")
            .arg(tripId)
            .arg(stop)
            .arg(m_source.stops.at(static_cast<size_t>(stop - 1)).name);
    };
    TripSchedule schedule;
    schedule.tripId = trip->id;
    schedule.headsign = trip->headsign;
    schedule.firstStop = firstStop;
    schedule.lastStop = lastStop;
    int previous = 0;
    for (int stop = firstStop; stop <= lastStop; ++stop) {
        std::optional<int> time;
        if (stop == lastStop && stop <= static_cast<int>(trip->times.size())) {
            const StopTime &last = trip->times.at(static_cast<size_t>(stop - 1));
            time = last.arrival ? last.arrival : last.departure;
        } else {
            time = departure(*trip, stop);
        }
        if (!time) {
            *problem = missing(stop);
            return std::nullopt;
        }
        if (*time < previous) {
            *problem = QStringLiteral("便「%1」の停留所 %2 の時刻 %3 が前の停留所より早くなっています")
                           .arg(tripId)
                           .arg(stop)
                           .arg(ServiceTime::format(*time));
            return std::nullopt;
        }
        previous = *time;
        if (stop == lastStop) {
            schedule.arrival = *time;
        } else {
            schedule.departures.push_back(*time);
        }
    }
    return schedule;
}
