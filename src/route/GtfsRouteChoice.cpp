#include "GtfsRouteChoice.h"

#include "GtfsStopTimes.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <tuple>

namespace {

// A trip's course as far as the list tells it: its first and last stop
// (by stop_sequence) and how many stops it makes.
struct Course
{
    qint64 firstSequence = 0;
    QString first;
    qint64 lastSequence = 0;
    QString last;
    int stops = 0;

    bool operator==(const Course &other) const
    {
        return first == other.first && last == other.last && stops == other.stops;
    }
};

size_t qHash(const Course &course, size_t seed = 0)
{
    return qHashMulti(seed, course.first, course.last, course.stops);
}

} // namespace

std::optional<std::vector<GtfsRouteChoice>> GtfsRouteChoice::list(GtfsFeed &feed, QString &error)
{
    std::vector<GtfsRouteChoice> choices;
    QHash<QString, size_t> index;
    {
        const auto routes = GtfsTable::required(feed, QStringLiteral("routes.txt"), {QStringLiteral("route_id")}, error);
        if (!routes) {
            return std::nullopt;
        }
        const int id = routes->column(QStringLiteral("route_id"));
        const int shortName = routes->column(QStringLiteral("route_short_name"));
        const int longName = routes->column(QStringLiteral("route_long_name"));
        const bool read = routes->forEachRow(
            [&](const QStringList &fields, int) {
                const QString routeId = GtfsTable::field(fields, id);
                if (!routeId.isEmpty() && !index.contains(routeId)) {
                    index.insert(routeId, choices.size());
                    choices.push_back({routeId, GtfsTable::field(fields, shortName), GtfsTable::field(fields, longName), {}, 0});
                }
                return QString();
            },
            error);
        if (!read) {
            return std::nullopt;
        }
    }

    // Each trip of a listed route: the route and direction it belongs to.
    QHash<QString, std::pair<size_t, size_t>> tripPlace;
    {
        const auto trips = GtfsTable::required(feed, QStringLiteral("trips.txt"),
                                               {QStringLiteral("route_id"), QStringLiteral("trip_id")}, error);
        if (!trips) {
            return std::nullopt;
        }
        const int tripRoute = trips->column(QStringLiteral("route_id"));
        const int tripId = trips->column(QStringLiteral("trip_id"));
        const int direction = trips->column(QStringLiteral("direction_id"));
        const int headsign = trips->column(QStringLiteral("trip_headsign"));
        const bool counted = trips->forEachRow(
            [&](const QStringList &fields, int) {
                const auto found = index.constFind(GtfsTable::field(fields, tripRoute));
                const QString trip = GtfsTable::field(fields, tripId);
                if (found == index.cend() || tripPlace.contains(trip)) {
                    return QString();
                }
                GtfsRouteChoice &choice = choices[*found];
                ++choice.trips;
                bool number = false;
                const int value = GtfsTable::field(fields, direction).toInt(&number);
                const std::optional<int> id = number ? std::optional<int>(value) : std::nullopt;
                auto place = std::lower_bound(choice.directions.begin(), choice.directions.end(), id,
                                              [](const Direction &d, const std::optional<int> &v) { return d.id < v; });
                if (place == choice.directions.end() || place->id != id) {
                    place = choice.directions.insert(place, Direction{id, {}, {}, {}, 0, 0});
                }
                ++place->trips;
                const QString sign = GtfsTable::field(fields, headsign);
                if (!sign.isEmpty() && !place->headsigns.contains(sign) && place->headsigns.size() < 8) {
                    place->headsigns << sign;
                }
                tripPlace.insert(trip, {*found, static_cast<size_t>(place - choice.directions.begin())});
                return QString();
            },
            error);
        if (!counted) {
            return std::nullopt;
        }
    }

    // The courses of the trips; each direction shows its most frequent.
    QHash<QString, Course> courses;
    if (!GtfsStopTimes::read(
            feed, [&](const QString &trip) { return tripPlace.contains(trip); },
            [&](const GtfsStopTimes::Row &row) {
                // A list only shows the course; the import says what is wrong with a row.
                const qint64 sequence = row.sequence.value_or(0);
                Course &course = courses[row.trip];
                if (course.stops == 0 || sequence < course.firstSequence) {
                    course.firstSequence = sequence;
                    course.first = row.stop;
                }
                if (course.stops == 0 || sequence >= course.lastSequence) {
                    course.lastSequence = sequence;
                    course.last = row.stop;
                }
                ++course.stops;
                return QString();
            },
            error)) {
        return std::nullopt;
    }
    std::vector<std::vector<QHash<Course, int>>> tally(choices.size());
    for (size_t i = 0; i < choices.size(); ++i) {
        tally[i].resize(choices[i].directions.size());
    }
    for (auto it = courses.cbegin(); it != courses.cend(); ++it) {
        const auto [route, direction] = tripPlace.value(it.key());
        ++tally[route][direction][it.value()];
    }
    QHash<QString, QString> stopNames;
    for (size_t i = 0; i < choices.size(); ++i) {
        for (size_t d = 0; d < choices[i].directions.size(); ++d) {
            Direction &direction = choices[i].directions[d];
            int best = 0;
            for (auto it = tally[i][d].cbegin(); it != tally[i][d].cend(); ++it) {
                const Course &course = it.key();
                // The most frequent; a tie to the longer, then by name, so
                // that the list does not depend on the order of a hash.
                if (std::tuple(it.value(), course.stops, course.first, course.last)
                    > std::tuple(best, direction.stops, direction.firstStop, direction.lastStop)) {
                    best = it.value();
                    direction.firstStop = course.first;
                    direction.lastStop = course.last;
                    direction.stops = course.stops;
                }
            }
            stopNames.insert(direction.firstStop, QString());
            stopNames.insert(direction.lastStop, QString());
        }
    }

    // Stops by their names.
    {
        const auto stops = GtfsTable::required(feed, QStringLiteral("stops.txt"),
                                               {QStringLiteral("stop_id"), QStringLiteral("stop_name")}, error);
        if (!stops) {
            return std::nullopt;
        }
        const int idColumn = stops->column(QStringLiteral("stop_id"));
        const int nameColumn = stops->column(QStringLiteral("stop_name"));
        QSet<QString> named;
        const bool read = stops->forEachRow(
            [&](const QStringList &fields, int) {
                const QString id = GtfsTable::field(fields, idColumn);
                const auto found = stopNames.find(id);
                if (found != stopNames.end() && !named.contains(id)) {
                    named.insert(id);
                    *found = GtfsTable::field(fields, nameColumn);
                }
                return QString();
            },
            error);
        if (!read) {
            return std::nullopt;
        }
    }
    for (GtfsRouteChoice &choice : choices) {
        for (Direction &direction : choice.directions) {
            // A stop stops.txt does not name keeps its id.
            for (QString *stop : {&direction.firstStop, &direction.lastStop}) {
                const QString name = stopNames.value(*stop);
                if (!name.isEmpty()) {
                    *stop = name;
                }
            }
        }
    }
    return choices;
}
