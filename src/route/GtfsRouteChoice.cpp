#include "GtfsRouteChoice.h"

#include <QHash>

#include <algorithm>

std::optional<std::vector<GtfsRouteChoice>> GtfsRouteChoice::list(GtfsFeed &feed, QString &error)
{
    const auto routes = GtfsTable::required(feed, QStringLiteral("routes.txt"), {QStringLiteral("route_id")}, error);
    if (!routes) {
        return std::nullopt;
    }
    std::vector<GtfsRouteChoice> choices;
    QHash<QString, size_t> index;
    const int id = routes->column(QStringLiteral("route_id"));
    const int shortName = routes->column(QStringLiteral("route_short_name"));
    const int longName = routes->column(QStringLiteral("route_long_name"));
    const bool read = routes->forEachRow(
        [&](const QStringList &fields, int) {
            const QString routeId = GtfsTable::field(fields, id).trimmed();
            if (!routeId.isEmpty() && !index.contains(routeId)) {
                index.insert(routeId, choices.size());
                choices.push_back({routeId, GtfsTable::field(fields, shortName).trimmed(),
                                   GtfsTable::field(fields, longName).trimmed(), {}, 0});
            }
            return QString();
        },
        error);
    if (!read) {
        return std::nullopt;
    }
    const auto trips = GtfsTable::required(feed, QStringLiteral("trips.txt"), {QStringLiteral("route_id")}, error);
    if (!trips) {
        return std::nullopt;
    }
    const int tripRoute = trips->column(QStringLiteral("route_id"));
    const int direction = trips->column(QStringLiteral("direction_id"));
    const bool counted = trips->forEachRow(
        [&](const QStringList &fields, int) {
            const auto found = index.constFind(GtfsTable::field(fields, tripRoute).trimmed());
            if (found == index.cend()) {
                return QString();
            }
            GtfsRouteChoice &choice = choices[*found];
            ++choice.trips;
            bool number = false;
            const int value = GtfsTable::field(fields, direction).trimmed().toInt(&number);
            if (number && std::find(choice.directions.begin(), choice.directions.end(), value) == choice.directions.end()) {
                choice.directions.insert(std::upper_bound(choice.directions.begin(), choice.directions.end(), value),
                                         value);
            }
            return QString();
        },
        error);
    if (!counted) {
        return std::nullopt;
    }
    return choices;
}
