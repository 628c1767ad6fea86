#include "GtfsImport.h"

#include "GtfsReadingPieces.h"
#include "GtfsStopTimes.h"
#include "GtfsTranslations.h"
#include "HepburnRomanizer.h"
#include "RouteAnnouncements.h"
#include "RouteBuilder.h"
#include "ServiceTime.h"
#include "formats/Hy3File.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>

namespace {

using ZonePair = QPair<QString, QString>;

// A GTFS price ("210", "210.0") in whole yen, or why it is none: it must be
// a finite number that a fare data file's 16-bit cell holds.
std::optional<int> priceValue(const QString &text, QString &why)
{
    bool ok = false;
    const double price = std::round(text.toDouble(&ok));
    if (!ok || !std::isfinite(price)) {
        why = QStringLiteral("有限の数ではありません");
        return std::nullopt;
    }
    if (price < 0) {
        why = QStringLiteral("負の数です");
        return std::nullopt;
    }
    if (price > std::numeric_limits<qint16>::max()) {
        why = QStringLiteral("運賃データの欄に入りません（最大 %1）").arg(std::numeric_limits<qint16>::max());
        return std::nullopt;
    }
    return static_cast<int>(price);
}

bool hasKanji(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) || u == 0x3005 || c.isSurrogate()) {
            return true;
        }
    }
    return false;
}

// The edit distance of two ids, to name the routes a mistyped id may mean.
// Only the first 64 characters count, so that long ids cost no more than
// short ones.
int editDistance(QStringView a, QStringView b)
{
    a = a.left(64);
    b = b.left(64);
    std::vector<int> row(static_cast<size_t>(b.size()) + 1);
    std::iota(row.begin(), row.end(), 0);
    for (qsizetype i = 0; i < a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i) + 1;
        for (qsizetype j = 0; j < b.size(); ++j) {
            const int above = row[size_t(j) + 1];
            row[size_t(j) + 1] = std::min({above + 1, row[size_t(j)] + 1, diagonal + (a[i] == b[j] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

// "「21000-0」（川57）, ...": the three routes whose id or short name is
// closest to `wanted`.
QString closestRoutes(const QString &wanted, const std::vector<std::pair<QString, QString>> &routes)
{
    std::vector<std::pair<int, size_t>> ranked;
    for (size_t i = 0; i < routes.size(); ++i) {
        int distance = editDistance(wanted, routes[i].first);
        if (!routes[i].second.isEmpty()) {
            distance = std::min(distance, editDistance(wanted, routes[i].second));
        }
        ranked.emplace_back(distance, i);
    }
    const size_t shown = std::min<size_t>(3, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(shown), ranked.end());
    QStringList names;
    for (size_t k = 0; k < shown; ++k) {
        const auto &[id, shortName] = routes[ranked[k].second];
        names << (shortName.isEmpty() ? QStringLiteral("「%1」").arg(id) : QStringLiteral("「%1」（%2）").arg(id, shortName));
    }
    return names.join(QStringLiteral(", "));
}

// A stop of a trip as stop_times.txt gives it.
struct TimedStop
{
    qint64 sequence = 0;
    QString id;
    bool boards = true;  // pickup_type is not 1 (no pickup)
    bool alights = true; // drop_off_type is not 1 (no drop off)
    std::optional<int> arrival;
    std::optional<int> departure;
};

// What stops.txt says of a stop of the pattern.
struct StopInfo
{
    QString name;
    QString zone;
    QString parent;
    std::optional<double> lat;
    std::optional<double> lon;
};

// A trip's times at each of its stops, or nothing when its first or last
// stop has none. A stop giving only one of its times has it for both; the
// stops between two timed ones (GTFS leaves times out where the bus keeps
// no timepoint) get times spread evenly between the departure before and
// the arrival after.
std::optional<std::vector<StopTime>> tripTimes(const std::vector<TimedStop> &stops)
{
    std::vector<StopTime> times(stops.size());
    std::optional<size_t> lastTimed;
    for (size_t i = 0; i < stops.size(); ++i) {
        StopTime &time = times[i];
        time.arrival = stops[i].arrival ? stops[i].arrival : stops[i].departure;
        time.departure = stops[i].departure ? stops[i].departure : stops[i].arrival;
        if (!time.arrival) {
            continue;
        }
        if (lastTimed && *lastTimed + 1 < i) {
            const qint64 from = *times[*lastTimed].departure;
            const qint64 span = qint64(*time.arrival) - from;
            const qint64 steps = static_cast<qint64>(i - *lastTimed);
            for (size_t j = *lastTimed + 1; j < i; ++j) {
                const int at = static_cast<int>(from + span * static_cast<qint64>(j - *lastTimed) / steps);
                times[j] = {at, at};
            }
        }
        lastTimed = i;
    }
    if (stops.empty() || !times.front().arrival || !times.back().arrival) {
        return std::nullopt;
    }
    return times;
}

// A GTFS date, "20240401".
QDate feedDate(const QString &text)
{
    return text.size() == 8 ? QDate::fromString(text, QStringLiteral("yyyyMMdd")) : QDate();
}

// A stop's coordinate: a number within ±`limit` degrees; none when empty.
std::optional<double> coordinate(const QString &text, double limit, bool &bad)
{
    if (text.isEmpty()) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < -limit || value > limit) {
        bad = true;
        return std::nullopt;
    }
    return value;
}

// The ticket number drawn at each stop of a pattern (0: none, at the last
// stop and where nobody may board), numbered by stop: a new number at each
// boarding stop unless it is in the zone of the boarding stop before it.
std::vector<int> ticketsByStop(const std::vector<TimedStop> &stops, const std::vector<StopInfo> &info)
{
    std::vector<int> tickets(stops.size(), 0);
    int ticket = 0;
    const QString *zone = nullptr;
    for (size_t i = 0; i + 1 < stops.size(); ++i) {
        if (!stops[i].boards) {
            continue;
        }
        if (zone == nullptr || info[i].zone.isEmpty() || info[i].zone != *zone) {
            ++ticket;
        }
        zone = &info[i].zone;
        tickets[i] = ticket;
    }
    return tickets;
}

// The same by fare stage: a boarding stop shares the number of the stage
// before it when boarding there costs what boarding at the stage's first
// stop costs to every later stop where one may alight. The board shows a
// number's fares from its first stop, so it stays exact for every stop of
// the stage.
std::vector<int> ticketsByStage(const std::vector<TimedStop> &stops, const std::function<int(size_t, size_t)> &fare)
{
    std::vector<int> tickets(stops.size(), 0);
    int ticket = 0;
    std::optional<size_t> first;
    for (size_t i = 0; i + 1 < stops.size(); ++i) {
        if (!stops[i].boards) {
            continue;
        }
        bool same = first.has_value();
        for (size_t j = i + 1; same && j < stops.size(); ++j) {
            same = !stops[j].alights || fare(*first, j) == fare(i, j);
        }
        if (!same) {
            ++ticket;
            first = i;
        }
        tickets[i] = ticket;
    }
    return tickets;
}

// "このバスは、" + what follows it in the opening announcement: the trip's
// headsign when the feed gives one, a loop (first and last stop the same)
// as 循環, otherwise the terminal.
QString boundFor(const QString &headsign, bool loop, const QString &first, const QString &terminal)
{
    const QString loopWord = QStringLiteral("循環");
    if (loop) {
        const QString name = headsign.isEmpty() ? first : headsign;
        return name.endsWith(loopWord) ? name : name + loopWord;
    }
    if (headsign.isEmpty()) {
        return terminal + QStringLiteral("行き");
    }
    return headsign.endsWith(QStringLiteral("行き")) || headsign.endsWith(QStringLiteral("行")) || headsign.endsWith(loopWord)
        ? headsign
        : headsign + QStringLiteral("行き");
}

// One import under way. Each phase reads what it needs of the feed into the
// fields below, in the order the feed's files are read; a phase returning
// false has set `error`.
struct Import
{
    Import(GtfsFeed &feedRead, const GtfsImport::Request &requested, QString &errorText)
        : feed(feedRead), request(requested), error(errorText)
    {
    }

    GtfsFeed &feed;
    const GtfsImport::Request &request;
    QString &error;
    const QString route = request.routeId;
    GtfsImport::Result result;

    // The route's trips, in the order of trips.txt.
    QStringList tripOrder;
    QStringList headsigns;
    QStringList services;
    QHash<QString, int> tripIndex;
    // Each trip's stops in stop_sequence order.
    std::vector<std::vector<TimedStop>> tripStops;
    // The trip whose stops are the route's pattern.
    size_t firstTrip = 0;
    std::vector<TimedStop> pattern;
    size_t count = 0;
    // The pattern's stops as stops.txt gives them, the names shown and the
    // stop whose translation reads each name.
    std::vector<StopInfo> info;
    std::vector<QString> names;
    std::vector<QString> readingIds;
    // Prices by fare_id (and ordered by it, for a warning).
    QHash<QString, int> prices;
    QMap<QString, int> pricesById;
    // How many rules the feed has, for this route or any other.
    qint64 feedRules = 0;
    // The lowest price between two zones of the pattern.
    QHash<ZonePair, int> lowest;
    std::vector<int> tickets;
    int ticketCount = 0;
    std::optional<GtfsTranslations> translations;

    bool findRoute();
    bool readTrips();
    bool readStopTimes();
    bool choosePattern();
    bool readStops();
    bool nameStations(const GtfsTable &stops, const QHash<QString, StopInfo> &byId, QHash<QString, QString> &stations);
    bool eachOptional(const QString &file, const QStringList &columns, const std::function<bool(const GtfsTable &)> &walk);
    bool readPrices();
    bool readFareRules();
    void chooseFareKind();
    int fare(size_t from, size_t to) const;
    bool numberTickets();
    void fillStops();
    bool readCalendar(QHash<QString, TripService> &serviceDays);
    bool readCalendarDates(QHash<QString, TripService> &serviceDays);
    bool readServiceDays();
    bool readReadings();
    void announce();
    void warnMissingFares();
};

// The route must be in the feed; a mistyped id gets the closest named.
bool Import::findRoute()
{
    const std::optional<GtfsTable> routes =
        GtfsTable::required(feed, QStringLiteral("routes.txt"), {QStringLiteral("route_id")}, error);
    if (!routes) {
        return false;
    }
    bool routeFound = false;
    std::vector<std::pair<QString, QString>> known;
    const int idColumn = routes->column(QStringLiteral("route_id"));
    const int shortNameColumn = routes->column(QStringLiteral("route_short_name"));
    if (!routes->forEachRow([&](const QStringList &row, int) {
            const QString id = GtfsTable::field(row, idColumn);
            routeFound = routeFound || id == route;
            if (!routeFound) {
                known.emplace_back(id, GtfsTable::field(row, shortNameColumn));
            }
            return QString();
        }, error)) {
        return false;
    }
    if (!routeFound) {
        error = QStringLiteral("routes.txt: 系統 route_id「%1」がありません").arg(route);
        if (!known.empty()) {
            error += QStringLiteral("（近いもの: %1）").arg(closestRoutes(route, known));
        }
        return false;
    }
    return true;
}

// The route's trips (in the direction asked for), with their headsigns and
// services; the trip asked for must be one of them.
bool Import::readTrips()
{
    QStringList tripColumns{QStringLiteral("route_id"), QStringLiteral("trip_id")};
    if (request.direction) {
        tripColumns << QStringLiteral("direction_id");
    }
    const std::optional<GtfsTable> trips = GtfsTable::required(feed, QStringLiteral("trips.txt"), tripColumns, error);
    if (!trips) {
        return false;
    }
    const int routeColumn = trips->column(QStringLiteral("route_id"));
    const int tripColumn = trips->column(QStringLiteral("trip_id"));
    const int directionColumn = trips->column(QStringLiteral("direction_id"));
    const int headsignColumn = trips->column(QStringLiteral("trip_headsign"));
    const int serviceColumn = trips->column(QStringLiteral("service_id"));
    if (!trips->forEachRow([&](const QStringList &row, int) {
            const QString trip = GtfsTable::field(row, tripColumn);
            if (GtfsTable::field(row, routeColumn) != route) {
                return QString();
            }
            if (request.direction && GtfsTable::field(row, directionColumn) != QString::number(*request.direction)) {
                return QString();
            }
            if (!tripIndex.contains(trip)) {
                tripIndex.insert(trip, static_cast<int>(tripOrder.size()));
                tripOrder << trip;
                headsigns << GtfsTable::field(row, headsignColumn);
                services << GtfsTable::field(row, serviceColumn);
            }
            return QString();
        }, error)) {
        return false;
    }
    if (tripOrder.isEmpty() || (!request.tripId.isEmpty() && !tripIndex.contains(request.tripId))) {
        error = !request.tripId.isEmpty()
            ? QStringLiteral("trips.txt: 系統「%1」に便 trip_id「%2」がありません").arg(route, request.tripId)
            : QStringLiteral("trips.txt: 系統「%1」の便がありません%2")
                  .arg(route, request.direction ? QStringLiteral("（direction_id %1）").arg(*request.direction) : QString());
        return false;
    }
    return true;
}

// Each trip's stops in stop_sequence order, with who may board and
// alight there.
bool Import::readStopTimes()
{
    tripStops.resize(static_cast<size_t>(tripOrder.size()));
    return GtfsStopTimes::read(
        feed, [this](const QString &trip) { return tripIndex.contains(trip); },
        [this](const GtfsStopTimes::Row &row) {
            if (!row.sequence || *row.sequence < 0) {
                return QStringLiteral("stop_sequence「%1」は 0 以上の整数ではありません").arg(row.sequenceText);
            }
            TimedStop stop{*row.sequence, row.stop, row.boards, row.alights, std::nullopt, std::nullopt};
            for (const auto &[text, time] : {std::pair{&row.arrival, &stop.arrival}, std::pair{&row.departure, &stop.departure}}) {
                if (text->isEmpty()) {
                    continue;
                }
                *time = ServiceTime::parse(*text);
                if (!*time) {
                    return QStringLiteral("時刻「%1」は HH:MM:SS ではありません").arg(*text);
                }
            }
            tripStops[static_cast<size_t>(tripIndex.value(row.trip))].push_back(std::move(stop));
            return QString();
        },
        error);
}

// The most frequent pattern, or the trip asked for; a tie goes to the trip
// met first, which also says who may board and alight where. Every trip
// running the pattern joins the timetable with its times.
bool Import::choosePattern()
{
    QHash<QStringList, int> patternCount;
    std::vector<QStringList> patterns(tripStops.size());
    for (size_t t = 0; t < tripStops.size(); ++t) {
        auto &stops = tripStops[t];
        if (stops.empty()) {
            continue; // a trip without stop times runs no pattern
        }
        std::stable_sort(stops.begin(), stops.end(), [](const auto &a, const auto &b) { return a.sequence < b.sequence; });
        for (const TimedStop &stop : stops) {
            patterns[t] << stop.id;
        }
        ++patternCount[patterns[t]];
    }
    if (!request.tripId.isEmpty()) {
        firstTrip = static_cast<size_t>(tripIndex.value(request.tripId));
    } else {
        int best = 0;
        for (size_t t = 0; t < patterns.size(); ++t) {
            if (!patterns[t].isEmpty() && patternCount.value(patterns[t]) > best) {
                best = patternCount.value(patterns[t]);
                firstTrip = t;
            }
        }
    }
    pattern = tripStops[firstTrip];
    // Every trip running the pattern, with its times.
    int untimed = 0;
    for (size_t t = 0; t < tripStops.size() && !pattern.empty(); ++t) {
        if (patterns[t] != patterns[firstTrip]) {
            continue;
        }
        std::optional<std::vector<StopTime>> times = tripTimes(tripStops[t]);
        if (!times) {
            ++untimed;
            continue;
        }
        const qsizetype at = static_cast<qsizetype>(t);
        result.source.trips.push_back({tripOrder.at(at), headsigns.at(at), {services.at(at), {}, {}, {}, {}, {}},
                                       std::move(*times)});
    }
    if (untimed > 0) {
        result.warnings << QStringLiteral("stop_times.txt: 始発か終点に時刻のない便 %1 本は時刻表に入れません").arg(untimed);
    }
    tripStops.clear();
    count = pattern.size();
    if (count < 2) {
        error = QStringLiteral("stop_times.txt: 系統「%1」の停留所が %2 しかありません（2 以上必要です）").arg(route).arg(count);
        return false;
    }
    if (count > size_t(Hy3File::MaxRecords)) {
        error = QStringLiteral("系統「%1」の停留所は %2 あり、運賃データの最大 %3 を超えます")
                    .arg(route).arg(count).arg(Hy3File::MaxRecords);
        return false;
    }
    return true;
}

// Names and zones of the pattern's stops; a platform named by its
// station when asked to.
bool Import::readStops()
{
    info.resize(count);
    names.resize(count);
    readingIds.resize(count);
    const std::optional<GtfsTable> stops = GtfsTable::required(
        feed, QStringLiteral("stops.txt"), {QStringLiteral("stop_id"), QStringLiteral("stop_name")}, error);
    if (!stops) {
        return false;
    }
    QHash<QString, StopInfo> byId;
    for (const TimedStop &stop : pattern) {
        byId.insert(stop.id, {});
    }
    QSet<QString> found;
    const int idColumn = stops->column(QStringLiteral("stop_id"));
    const int nameColumn = stops->column(QStringLiteral("stop_name"));
    const int zoneColumn = stops->column(QStringLiteral("zone_id"));
    const int parentColumn = stops->column(QStringLiteral("parent_station"));
    const int latColumn = stops->column(QStringLiteral("stop_lat"));
    const int lonColumn = stops->column(QStringLiteral("stop_lon"));
    QStringList badPositions;
    if (!stops->forEachRow([&](const QStringList &row, int) {
            const QString id = GtfsTable::field(row, idColumn);
            const auto wanted = byId.find(id);
            if (wanted != byId.end() && !found.contains(id)) {
                found.insert(id);
                *wanted = {GtfsTable::field(row, nameColumn), GtfsTable::field(row, zoneColumn),
                           GtfsTable::field(row, parentColumn), std::nullopt, std::nullopt};
                // A feed without both columns gives no positions.
                bool bad = false;
                if (latColumn >= 0 && lonColumn >= 0) {
                    wanted->lat = coordinate(GtfsTable::field(row, latColumn), 90, bad);
                    wanted->lon = coordinate(GtfsTable::field(row, lonColumn), 180, bad);
                }
                if (bad || wanted->lat.has_value() != wanted->lon.has_value()) {
                    wanted->lat.reset();
                    wanted->lon.reset();
                    badPositions << id;
                }
            }
            return QString();
        }, error)) {
        return false;
    }
    if (!badPositions.isEmpty()) {
        result.warnings << QStringLiteral("stops.txt: 位置 stop_lat, stop_lon が読めない停留所は位置なしにします（%1）")
                               .arg(badPositions.join(QStringLiteral(", ")));
    }
    for (const TimedStop &stop : pattern) {
        if (!found.contains(stop.id)) {
            error = QStringLiteral("stops.txt: stop_times.txt の停留所 stop_id「%1」がありません").arg(stop.id);
            return false;
        }
    }
    QHash<QString, QString> stations; // parent_station -> its name
    if (request.names == GtfsImport::Names::Station && !nameStations(*stops, byId, stations)) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        info[i] = byId.value(pattern[i].id);
        const auto station = stations.constFind(info[i].parent);
        const bool byStation = !info[i].parent.isEmpty() && station != stations.cend() && !station->isEmpty();
        names[i] = byStation ? *station : info[i].name;
        readingIds[i] = byStation ? info[i].parent : pattern[i].id;
    }
    return true;
}

// The names of the stations whose platforms the pattern stops at; a station
// stops.txt does not give is warned of and left out, so that its platforms
// keep their own names.
bool Import::nameStations(const GtfsTable &stops, const QHash<QString, StopInfo> &byId, QHash<QString, QString> &stations)
{
    const int idColumn = stops.column(QStringLiteral("stop_id"));
    const int nameColumn = stops.column(QStringLiteral("stop_name"));
    for (const StopInfo &stop : byId) {
        if (!stop.parent.isEmpty()) {
            stations.insert(stop.parent, QString());
        }
    }
    if (stations.isEmpty()) {
        return true;
    }
    QSet<QString> named;
    if (!stops.forEachRow([&](const QStringList &row, int) {
            const QString id = GtfsTable::field(row, idColumn);
            const auto station = stations.find(id);
            if (station != stations.end() && !named.contains(id)) {
                named.insert(id);
                *station = GtfsTable::field(row, nameColumn);
            }
            return QString();
        }, error)) {
        return false;
    }
    QStringList unknown;
    for (auto it = stations.cbegin(); it != stations.cend(); ++it) {
        if (!named.contains(it.key())) {
            unknown << it.key();
        }
    }
    if (!unknown.isEmpty()) {
        unknown.sort();
        result.warnings << QStringLiteral("stops.txt: 親の駅 parent_station がありません（%1）。そののりばは自身の名前のままです")
                               .arg(unknown.join(QStringLiteral(", ")));
    }
    for (const QString &id : unknown) {
        stations.remove(id);
    }
    return true;
}

// A file of the feed that may be missing: `walk` looks its columns up and
// walks its rows. A missing file is no error; one that cannot be read is.
bool Import::eachOptional(const QString &file, const QStringList &columns,
                          const std::function<bool(const GtfsTable &)> &walk)
{
    const std::optional<GtfsTable> table = GtfsTable::optional(feed, file, columns, error);
    if (!table) {
        return error.isEmpty();
    }
    return walk(*table);
}

// Prices of fare_attributes.txt by fare_id.
bool Import::readPrices()
{
    return eachOptional(
        QStringLiteral("fare_attributes.txt"), {QStringLiteral("fare_id"), QStringLiteral("price")},
        [&](const GtfsTable &attributes) {
            const int idColumn = attributes.column(QStringLiteral("fare_id"));
            const int priceColumn = attributes.column(QStringLiteral("price"));
            return attributes.forEachRow([&](const QStringList &row, int) {
                QString why;
                const std::optional<int> price = priceValue(GtfsTable::field(row, priceColumn), why);
                if (!price) {
                    return QStringLiteral("fare_id「%1」の price「%2」は%3")
                        .arg(GtfsTable::field(row, idColumn), GtfsTable::field(row, priceColumn), why);
                }
                prices.insert(GtfsTable::field(row, idColumn), *price);
                pricesById.insert(GtfsTable::field(row, idColumn), *price);
                return QString();
            }, error);
        });
}

// The lowest price between each pair of the pattern's zones, from the
// rules of fare_rules.txt that apply to this route; the rules left out
// are warned of.
bool Import::readFareRules()
{
    // Every pair of zones a ride of the pattern may join.
    QSet<ZonePair> pairs;
    for (size_t i = 0; i < count; ++i) {
        for (size_t j = i + 1; j < count; ++j) {
            pairs.insert({info[i].zone, info[j].zone});
        }
    }
    // The lowest price of the rules that apply to each pair. A rule names
    // both zones in all but the rarest feeds and is looked up by the pair;
    // a rule naming one zone or none is kept by that zone (or once), and the
    // pairs take the lowest of their kinds at the end: two million rules
    // naming only an origin cost no more than two million naming both.
    QHash<QString, int> byOrigin;
    QHash<QString, int> byDestination;
    std::optional<int> anywhere;
    const auto keepLower = [](auto &map, const auto &key, int price) {
        const auto current = map.find(key);
        if (current == map.end()) {
            map.insert(key, price);
        } else if (price < *current) {
            *current = price;
        }
    };
    int containsRules = 0;
    QSet<QString> unknownFares;
    if (!eachOptional(QStringLiteral("fare_rules.txt"), {QStringLiteral("fare_id")}, [&](const GtfsTable &rules) {
        const int idColumn = rules.column(QStringLiteral("fare_id"));
        const int routeColumn = rules.column(QStringLiteral("route_id"));
        const int originColumn = rules.column(QStringLiteral("origin_id"));
        const int destinationColumn = rules.column(QStringLiteral("destination_id"));
        const int containsColumn = rules.column(QStringLiteral("contains_id"));
        return rules.forEachRow([&](const QStringList &row, int) {
            ++feedRules;
            const QString ruleRoute = GtfsTable::field(row, routeColumn);
            if (!ruleRoute.isEmpty() && ruleRoute != route) {
                return QString();
            }
            if (!GtfsTable::field(row, containsColumn).isEmpty()) {
                ++containsRules;
                return QString();
            }
            const QString fareId = GtfsTable::field(row, idColumn);
            const auto price = prices.constFind(fareId);
            if (price == prices.cend()) {
                unknownFares.insert(fareId);
                return QString();
            }
            const QString origin = GtfsTable::field(row, originColumn);
            const QString destination = GtfsTable::field(row, destinationColumn);
            if (!origin.isEmpty() && !destination.isEmpty()) {
                if (pairs.contains({origin, destination})) {
                    keepLower(lowest, ZonePair(origin, destination), *price);
                }
            } else if (!origin.isEmpty()) {
                keepLower(byOrigin, origin, *price);
            } else if (!destination.isEmpty()) {
                keepLower(byDestination, destination, *price);
            } else {
                anywhere = std::min(anywhere.value_or(*price), *price);
            }
            return QString();
        }, error);
        })) {
        return false;
    }
    if (!byOrigin.isEmpty() || !byDestination.isEmpty() || anywhere) {
        for (const ZonePair &pair : std::as_const(pairs)) {
            std::optional<int> price = anywhere;
            for (const auto &[map, zone] : {std::pair{&byOrigin, pair.first}, std::pair{&byDestination, pair.second}}) {
                if (const auto found = map->constFind(zone); found != map->cend()) {
                    price = std::min(price.value_or(*found), *found);
                }
            }
            if (price) {
                keepLower(lowest, pair, *price);
            }
        }
    }
    if (containsRules > 0) {
        result.warnings << QStringLiteral("fare_rules.txt: contains_id のある規則 %1 件は使いません").arg(containsRules);
    }
    if (!unknownFares.isEmpty()) {
        QStringList ids(unknownFares.cbegin(), unknownFares.cend());
        ids.sort();
        result.warnings << QStringLiteral("fare_rules.txt: fare_attributes.txt にない fare_id を使う規則は使いません（%1）")
                               .arg(ids.join(QStringLiteral(", ")));
    }
    return true;
}

// Zone fares; but in a feed without fare rules a fare without rules
// applies to every ride, so one price is a flat fare; several leave the
// fares open.
void Import::chooseFareKind()
{
    FareRule &rule = result.source.rule;
    rule.kind = FareRule::Kind::Zone;
    if (feedRules == 0) {
        QSet<int> distinct;
        QStringList named;
        for (auto it = pricesById.cbegin(); it != pricesById.cend(); ++it) {
            distinct.insert(it.value());
            named << QStringLiteral("%1 %2 円").arg(it.key()).arg(it.value());
        }
        if (distinct.size() == 1) {
            rule.kind = FareRule::Kind::Flat;
            rule.flatFare = *distinct.cbegin();
        } else if (distinct.size() > 1) {
            result.warnings << QStringLiteral("fare_rules.txt に規則がなく、fare_attributes.txt の運賃が 1 つではないため"
                                              "（%1）、どの運賃か決められません")
                                   .arg(named.join(QStringLiteral(", ")));
        }
    }
}

// The fare between two stops of the pattern: the flat fare, or the lowest
// between their zones (-1: none).
int Import::fare(size_t from, size_t to) const
{
    const FareRule &rule = result.source.rule;
    return rule.kind == FareRule::Kind::Flat ? rule.flatFare : lowest.value({info[from].zone, info[to].zone}, -1);
}

// Ticket numbers, by stop while the board has room for them, otherwise
// (or when asked to) by fare stage.
bool Import::numberTickets()
{
    const auto highest = [](const std::vector<int> &numbers) { return *std::max_element(numbers.begin(), numbers.end()); };
    if (request.tickets != GtfsImport::Tickets::ByStage) {
        tickets = ticketsByStop(pattern, info);
        ticketCount = highest(tickets);
        if (ticketCount > RouteBuilder::MaxTickets && request.tickets == GtfsImport::Tickets::ByStop) {
            error = QStringLiteral("系統「%1」には整理券番号が %2 必要で、最大 %3 を超えます（運賃の段ごとに番号を振ることもできます）")
                        .arg(route).arg(ticketCount).arg(RouteBuilder::MaxTickets);
            return false;
        }
    }
    if (request.tickets == GtfsImport::Tickets::ByStage || ticketCount > RouteBuilder::MaxTickets) {
        const int byStop = ticketCount;
        tickets = ticketsByStage(pattern, [this](size_t from, size_t to) { return fare(from, to); });
        ticketCount = highest(tickets);
        if (ticketCount > RouteBuilder::MaxTickets) {
            error = QStringLiteral("系統「%1」には運賃の段ごとにも整理券番号が %2 必要で、最大 %3 を超えます")
                        .arg(route).arg(ticketCount).arg(RouteBuilder::MaxTickets);
            return false;
        }
        if (request.tickets == GtfsImport::Tickets::Automatic) {
            result.warnings << QStringLiteral("停留所ごとでは整理券番号が %1 必要なため、運賃の段ごとに %2 までの番号にしました")
                                   .arg(byStop).arg(ticketCount);
        }
    }
    return true;
}

// The route source's stops, and the fares of the pairs the board shows.
void Import::fillStops()
{
    FareRule &rule = result.source.rule;
    RouteSource &source = result.source;
    source.route = request.routeNumber;
    for (size_t i = 0; i < count; ++i) {
        RouteStop stop;
        stop.name = names[i];
        stop.zone = info[i].zone;
        stop.ticket = tickets[i];
        stop.lat = info[i].lat;
        stop.lon = info[i].lon;
        if (i + 1 == count) {
            stop.sound = RouteStop::Sound::Terminal;
        }
        source.stops.push_back(stop);
    }
    // The pairs the board shows: from where each number is first drawn.
    std::vector<size_t> firstDrawn(static_cast<size_t>(ticketCount) + 1, count);
    for (size_t i = 0; i < count; ++i) {
        firstDrawn[size_t(tickets[i])] = std::min(firstDrawn[size_t(tickets[i])], i);
    }
    if (rule.kind == FareRule::Kind::Zone) {
        for (int c = 1; c <= ticketCount; ++c) {
            const size_t from = firstDrawn[size_t(c)];
            for (size_t j = from + 1; j < count; ++j) {
                const auto price = lowest.constFind({info[from].zone, info[j].zone});
                if (price != lowest.cend()) {
                    rule.zonePairs.insert(price.key(), *price);
                }
            }
        }
    }
    // Rides the timetable does not allow (no alighting at a stop) are
    // blank, not "no fare".
    for (size_t j = 1; j < count; ++j) {
        if (pattern[j].alights) {
            continue;
        }
        for (int c = 1; c <= ticketCount; ++c) {
            if (firstDrawn[size_t(c)] < j) {
                source.overrides.push_back({static_cast<int>(j) + 1, c, 0});
            }
        }
    }
}

// The weekdays and the span of each service of `serviceDays` from
// calendar.txt, when the feed has one.
bool Import::readCalendar(QHash<QString, TripService> &serviceDays)
{
    const QStringList dayColumns{QStringLiteral("monday"), QStringLiteral("tuesday"), QStringLiteral("wednesday"),
                                 QStringLiteral("thursday"), QStringLiteral("friday"), QStringLiteral("saturday"),
                                 QStringLiteral("sunday")};
    return eachOptional(
        QStringLiteral("calendar.txt"),
        dayColumns + QStringList{QStringLiteral("service_id"), QStringLiteral("start_date"), QStringLiteral("end_date")},
        [&](const GtfsTable &calendar) {
            std::array<int, 7> days{};
            for (size_t d = 0; d < days.size(); ++d) {
                days[d] = calendar.column(dayColumns.at(static_cast<qsizetype>(d)));
            }
            const int idColumn = calendar.column(QStringLiteral("service_id"));
            const int startColumn = calendar.column(QStringLiteral("start_date"));
            const int endColumn = calendar.column(QStringLiteral("end_date"));
            return calendar.forEachRow([&](const QStringList &row, int) {
                const auto service = serviceDays.find(GtfsTable::field(row, idColumn));
                if (service == serviceDays.end()) {
                    return QString();
                }
                std::array<bool, 7> weekdays{};
                for (size_t d = 0; d < days.size(); ++d) {
                    weekdays[d] = GtfsTable::field(row, days[d]) == QStringLiteral("1");
                }
                service->weekdays = weekdays;
                service->from = feedDate(GtfsTable::field(row, startColumn));
                service->until = feedDate(GtfsTable::field(row, endColumn));
                if (!service->from.isValid() || !service->until.isValid()) {
                    return QStringLiteral("start_date, end_date は日付 YYYYMMDD です");
                }
                return QString();
            }, error);
        });
}

// The dates calendar_dates.txt adds to each service of `serviceDays` and
// takes out of it, when the feed has the file.
bool Import::readCalendarDates(QHash<QString, TripService> &serviceDays)
{
    return eachOptional(
        QStringLiteral("calendar_dates.txt"),
        {QStringLiteral("service_id"), QStringLiteral("date"), QStringLiteral("exception_type")},
        [&](const GtfsTable &dates) {
            const int idColumn = dates.column(QStringLiteral("service_id"));
            const int dateColumn = dates.column(QStringLiteral("date"));
            const int typeColumn = dates.column(QStringLiteral("exception_type"));
            return dates.forEachRow([&](const QStringList &row, int) {
                const auto service = serviceDays.find(GtfsTable::field(row, idColumn));
                if (service == serviceDays.end()) {
                    return QString();
                }
                const QDate date = feedDate(GtfsTable::field(row, dateColumn));
                const QString type = GtfsTable::field(row, typeColumn);
                if (!date.isValid()) {
                    return QStringLiteral("date「%1」は日付 YYYYMMDD ではありません").arg(GtfsTable::field(row, dateColumn));
                }
                if (type == QStringLiteral("1")) {
                    service->dates.push_back(date);
                } else if (type == QStringLiteral("2")) {
                    service->exceptDates.push_back(date);
                } else {
                    return QStringLiteral("exception_type「%1」は 1 か 2 ではありません").arg(type);
                }
                return QString();
            }, error);
        });
}

// The days of the trips' services, from the weekly calendar and the
// dates added and taken out.
bool Import::readServiceDays()
{
    RouteSource &source = result.source;
    QHash<QString, TripService> serviceDays;
    for (const RouteTrip &trip : source.trips) {
        serviceDays.insert(trip.service.id, {trip.service.id, {}, {}, {}, {}, {}});
    }
    if (!readCalendar(serviceDays) || !readCalendarDates(serviceDays)) {
        return false;
    }
    for (TripService &service : serviceDays) {
        std::sort(service.dates.begin(), service.dates.end());
        std::sort(service.exceptDates.begin(), service.exceptDates.end());
    }
    for (RouteTrip &trip : source.trips) {
        trip.service = serviceDays.value(trip.service.id);
    }
    return true;
}

// Readings and names in other languages.
bool Import::readReadings()
{
    RouteSource &source = result.source;
    translations = GtfsTranslations::read(feed, error);
    if (!translations) {
        return false;
    }
    const QHash<QString, QString> &byText = translations->readingsByText();
    const QHash<QString, QString> &byStop = translations->readingsByStop();
    qsizetype longestName = 0;
    for (const RouteStop &stop : source.stops) {
        longestName = std::max(longestName, stop.name.size());
    }
    const GtfsReadingPieces pieces(byText, longestName);
    // A stop's reading is kept only when the translations cover every
    // written character of its name; the dictionary also gets the pieces
    // themselves, so that the speech reads names they only partly cover.
    QSet<QString> named;
    for (size_t i = 0; i < count; ++i) {
        RouteStop &stop = source.stops[i];
        const auto byId = byStop.constFind(readingIds[i]);
        const QString reading = byId != byStop.cend() ? *byId : pieces.compose(stop.name);
        if (!reading.isEmpty() && !hasKanji(reading)) {
            stop.reading = reading;
            if (!named.contains(stop.name)) {
                named.insert(stop.name);
                result.readings.append({stop.name, reading});
            }
        }
        stop.names = translations->stopNames(readingIds[i], stop.name);
        if (!stop.names.contains(QStringLiteral("en"))) {
            if (const QString english = HepburnRomanizer().stopName(stop.name, stop.reading); !english.isEmpty()) {
                stop.names.insert(QStringLiteral("en"), english);
                stop.englishFromReading = true;
            }
        }
    }
    for (const RouteStop &stop : source.stops) {
        for (const QString &piece : pieces.piecesIn(stop.name)) {
            if (!named.contains(piece)) {
                named.insert(piece);
                result.readings.append({piece, pieces.reading(piece)});
                // The source keeps them too, so that a build from it alone
                // gives the same dictionary.
                source.readings.append({piece, pieces.reading(piece)});
            }
        }
    }
    return true;
}

// The opening announcements in both languages and the headsign's names.
    // A loop ends where it starts: the same stop, or a platform of the same
    // station.
void Import::announce()
{
    RouteSource &source = result.source;
    const bool loop = pattern.front().id == pattern.back().id
        || (!info.front().parent.isEmpty() && info.front().parent == info.back().parent);
    const QString headsign = headsigns.at(static_cast<qsizetype>(firstTrip));
    source.announcements = RouteAnnouncements::generate(source, boundFor(headsign, loop, names.front(), names.back()));
    source.headsignNames = translations->headsignNames(tripOrder.at(static_cast<qsizetype>(firstTrip)), headsign);
    const QString englishBound = source.headsignNames.value(QStringLiteral("en"));
    source.englishAnnouncements = RouteAnnouncements::generateEnglish(
        source, !englishBound.isEmpty() ? RouteAnnouncements::englishWelcome(englishBound)
                : loop ? RouteAnnouncements::englishLoopWelcome(RouteAnnouncements::englishName(source.stops.front()))
                       : RouteAnnouncements::englishWelcome(RouteAnnouncements::englishName(source.stops.back())));
}

    // Pairs with no rule show -1; rides nobody may take are blank and not
    // counted.
void Import::warnMissingFares()
{
    const RouteSource &source = result.source;
    const RouteBuilder builder(source);
    int missing = 0;
    for (int n = 1; n <= static_cast<int>(count); ++n) {
        for (int c = 1; c <= ticketCount; ++c) {
            if (builder.fare(n, c) == -1) {
                ++missing;
            }
        }
    }
    if (missing > 0) {
        result.warnings << QStringLiteral("fare_rules.txt に運賃のない組が %1 あり、-1（運賃なし。表示器には「-1」と出ます）になります").arg(missing);
    }
}

} // namespace

std::optional<GtfsImport::Result> GtfsImport::run(GtfsFeed &feed, const Request &request, QString &error)
{
    Import import(feed, request, error);
    if (!import.findRoute() || !import.readTrips() || !import.readStopTimes() || !import.choosePattern()
        || !import.readStops() || !import.readPrices() || !import.readFareRules()) {
        return std::nullopt;
    }
    import.chooseFareKind();
    if (!import.numberTickets()) {
        return std::nullopt;
    }
    import.fillStops();
    if (!import.readServiceDays() || !import.readReadings()) {
        return std::nullopt;
    }
    import.announce();
    import.warnMissingFares();
    return std::move(import.result);
}
