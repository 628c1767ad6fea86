#include "GtfsImport.h"

#include "GtfsReadingPieces.h"

#include "RouteAnnouncements.h"
#include "RouteBuilder.h"
#include "fare/Hy3File.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

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

} // namespace

std::optional<GtfsImport::Result> GtfsImport::run(GtfsFeed &feed, const Request &request, QString &error)
{
    Result result;
    const QString route = request.routeId;

    // The route must be in the feed.
    const std::optional<GtfsTable> routes = GtfsTable::required(feed, QStringLiteral("routes.txt"), {QStringLiteral("route_id")}, error);
    if (!routes) {
        return std::nullopt;
    }
    bool routeFound = false;
    const int routeIdColumn = routes->column(QStringLiteral("route_id"));
    if (!routes->forEachRow([&](const QStringList &row, int) {
            routeFound = routeFound || GtfsTable::field(row, routeIdColumn) == route;
            return QString();
        }, error)) {
        return std::nullopt;
    }
    if (!routeFound) {
        error = QStringLiteral("routes.txt: 系統 route_id「%1」がありません").arg(route);
        return std::nullopt;
    }

    // The route's trips, in the order of trips.txt.
    QStringList tripColumns{QStringLiteral("route_id"), QStringLiteral("trip_id")};
    if (request.direction) {
        tripColumns << QStringLiteral("direction_id");
    }
    const std::optional<GtfsTable> trips = GtfsTable::required(feed, QStringLiteral("trips.txt"), tripColumns, error);
    if (!trips) {
        return std::nullopt;
    }
    QStringList tripOrder;
    QHash<QString, int> tripIndex;
    {
        const int routeColumn = trips->column(QStringLiteral("route_id"));
        const int tripColumn = trips->column(QStringLiteral("trip_id"));
        const int directionColumn = trips->column(QStringLiteral("direction_id"));
        if (!trips->forEachRow([&](const QStringList &row, int) {
                const QString trip = GtfsTable::field(row, tripColumn);
                if (GtfsTable::field(row, routeColumn) != route) {
                    return QString();
                }
                if (!request.tripId.isEmpty() && trip != request.tripId) {
                    return QString();
                }
                if (request.direction && GtfsTable::field(row, directionColumn) != QString::number(*request.direction)) {
                    return QString();
                }
                if (!tripIndex.contains(trip)) {
                    tripIndex.insert(trip, static_cast<int>(tripOrder.size()));
                    tripOrder << trip;
                }
                return QString();
            }, error)) {
            return std::nullopt;
        }
    }
    if (tripOrder.isEmpty()) {
        error = !request.tripId.isEmpty()
            ? QStringLiteral("trips.txt: 系統「%1」に便 trip_id「%2」がありません").arg(route, request.tripId)
            : QStringLiteral("trips.txt: 系統「%1」の便がありません%2")
                  .arg(route, request.direction ? QStringLiteral("（direction_id %1）").arg(*request.direction) : QString());
        return std::nullopt;
    }

    // Each trip's stops in stop_sequence order.
    const std::optional<GtfsTable> stopTimes = GtfsTable::required(
        feed, QStringLiteral("stop_times.txt"),
        {QStringLiteral("trip_id"), QStringLiteral("stop_id"), QStringLiteral("stop_sequence")}, error);
    if (!stopTimes) {
        return std::nullopt;
    }
    std::vector<std::vector<std::pair<qint64, QString>>> tripStops(static_cast<size_t>(tripOrder.size()));
    {
        const int tripColumn = stopTimes->column(QStringLiteral("trip_id"));
        const int stopColumn = stopTimes->column(QStringLiteral("stop_id"));
        const int sequenceColumn = stopTimes->column(QStringLiteral("stop_sequence"));
        if (!stopTimes->forEachRow([&](const QStringList &row, int) {
                const auto found = tripIndex.constFind(GtfsTable::field(row, tripColumn));
                if (found == tripIndex.cend()) {
                    return QString();
                }
                bool ok = false;
                const qint64 sequence = GtfsTable::field(row, sequenceColumn).toLongLong(&ok);
                if (!ok || sequence < 0) {
                    return QStringLiteral("stop_sequence「%1」は 0 以上の整数ではありません").arg(GtfsTable::field(row, sequenceColumn));
                }
                tripStops[static_cast<size_t>(*found)].emplace_back(sequence, GtfsTable::field(row, stopColumn));
                return QString();
            }, error)) {
            return std::nullopt;
        }
    }
    // The most frequent pattern; a tie goes to the trip met first.
    QHash<QStringList, int> patternCount;
    QStringList pattern;
    int best = 0;
    std::vector<QStringList> patterns;
    for (auto &stops : tripStops) {
        if (stops.empty()) {
            continue; // a trip without stop times runs no pattern
        }
        std::stable_sort(stops.begin(), stops.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        QStringList ids;
        for (const auto &stop : stops) {
            ids << stop.second;
        }
        patterns.push_back(ids);
        ++patternCount[ids];
    }
    for (const QStringList &ids : patterns) {
        if (patternCount.value(ids) > best) {
            best = patternCount.value(ids);
            pattern = ids;
        }
    }
    if (pattern.size() < 2) {
        error = QStringLiteral("stop_times.txt: 系統「%1」の停留所が %2 しかありません（2 以上必要です）").arg(route).arg(pattern.size());
        return std::nullopt;
    }
    if (pattern.size() > Hy3File::MaxRecords) {
        error = QStringLiteral("系統「%1」の停留所は %2 あり、運賃データの最大 %3 を超えます")
                    .arg(route).arg(pattern.size()).arg(Hy3File::MaxRecords);
        return std::nullopt;
    }

    // Names and zones of the pattern's stops.
    const std::optional<GtfsTable> stops = GtfsTable::required(feed, QStringLiteral("stops.txt"),
                                                         {QStringLiteral("stop_id"), QStringLiteral("stop_name")}, error);
    if (!stops) {
        return std::nullopt;
    }
    const QSet<QString> wanted(pattern.cbegin(), pattern.cend());
    QHash<QString, QPair<QString, QString>> stopInfo; // id -> (name, zone)
    {
        const int idColumn = stops->column(QStringLiteral("stop_id"));
        const int nameColumn = stops->column(QStringLiteral("stop_name"));
        const int zoneColumn = stops->column(QStringLiteral("zone_id"));
        if (!stops->forEachRow([&](const QStringList &row, int) {
                const QString id = GtfsTable::field(row, idColumn);
                if (wanted.contains(id) && !stopInfo.contains(id)) {
                    stopInfo.insert(id, {GtfsTable::field(row, nameColumn), GtfsTable::field(row, zoneColumn)});
                }
                return QString();
            }, error)) {
            return std::nullopt;
        }
    }
    for (const QString &id : pattern) {
        if (!stopInfo.contains(id)) {
            error = QStringLiteral("stops.txt: stop_times.txt の停留所 stop_id「%1」がありません").arg(id);
            return std::nullopt;
        }
    }

    // Ticket numbers: a new one where the zone changes; every stop its own
    // without zones; none at the last stop.
    RouteSource &source = result.source;
    source.route = request.routeNumber;
    int ticket = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        RouteStop stop;
        stop.name = stopInfo.value(pattern.at(i)).first;
        stop.zone = stopInfo.value(pattern.at(i)).second;
        if (i == pattern.size() - 1) {
            stop.ticket = 0;
            stop.sound = RouteStop::Sound::Terminal;
        } else {
            if (i == 0 || stop.zone.isEmpty() || stop.zone != source.stops.back().zone) {
                ++ticket;
            }
            stop.ticket = ticket;
        }
        source.stops.push_back(stop);
    }
    if (ticket > RouteBuilder::MaxTickets) {
        error = QStringLiteral("系統「%1」には整理券番号が %2 必要で、最大 %3 を超えます").arg(route).arg(ticket).arg(RouteBuilder::MaxTickets);
        return std::nullopt;
    }

    // Fares between the zones the pattern needs: from the zone where each
    // ticket is first drawn to the zone of every later stop.
    source.rule.kind = FareRule::Kind::Zone;
    QSet<QPair<QString, QString>> pairs;
    {
        QStringList firstZones;
        for (qsizetype i = 0; i < pattern.size(); ++i) {
            const RouteStop &stop = source.stops[static_cast<size_t>(i)];
            for (const QString &origin : firstZones) {
                pairs.insert({origin, stop.zone});
            }
            if (*stop.ticket > 0 && (i == 0 || *source.stops[static_cast<size_t>(i - 1)].ticket != *stop.ticket)) {
                firstZones << stop.zone;
            }
        }
    }
    QHash<QString, int> prices;
    if (const std::optional<GtfsTable> attributes = GtfsTable::optional(
            feed, QStringLiteral("fare_attributes.txt"), {QStringLiteral("fare_id"), QStringLiteral("price")}, error)) {
        const int idColumn = attributes->column(QStringLiteral("fare_id"));
        const int priceColumn = attributes->column(QStringLiteral("price"));
        if (!attributes->forEachRow([&](const QStringList &row, int) {
                QString why;
                const std::optional<int> price = priceValue(GtfsTable::field(row, priceColumn), why);
                if (!price) {
                    return QStringLiteral("fare_id「%1」の price「%2」は%3")
                        .arg(GtfsTable::field(row, idColumn), GtfsTable::field(row, priceColumn), why);
                }
                prices.insert(GtfsTable::field(row, idColumn), *price);
                return QString();
            }, error)) {
            return std::nullopt;
        }
    } else if (!error.isEmpty()) {
        return std::nullopt;
    }
    // The lowest price of the rules that apply to each pair. A rule names
    // both zones in all but the rarest feeds and is looked up by the pair;
    // a rule naming one zone or none is kept by that zone (or once), and the
    // pairs take the lowest of their kinds at the end: two million rules
    // naming only an origin cost no more than two million naming both.
    QHash<QPair<QString, QString>, int> lowest;
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
    if (const std::optional<GtfsTable> rules =
            GtfsTable::optional(feed, QStringLiteral("fare_rules.txt"), {QStringLiteral("fare_id")}, error)) {
        const int idColumn = rules->column(QStringLiteral("fare_id"));
        const int routeColumn = rules->column(QStringLiteral("route_id"));
        const int originColumn = rules->column(QStringLiteral("origin_id"));
        const int destinationColumn = rules->column(QStringLiteral("destination_id"));
        const int containsColumn = rules->column(QStringLiteral("contains_id"));
        if (!rules->forEachRow([&](const QStringList &row, int) {
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
                        keepLower(lowest, QPair<QString, QString>(origin, destination), *price);
                    }
                } else if (!origin.isEmpty()) {
                    keepLower(byOrigin, origin, *price);
                } else if (!destination.isEmpty()) {
                    keepLower(byDestination, destination, *price);
                } else {
                    anywhere = std::min(anywhere.value_or(*price), *price);
                }
                return QString();
            }, error)) {
            return std::nullopt;
        }
    } else if (!error.isEmpty()) {
        return std::nullopt;
    }
    if (!byOrigin.isEmpty() || !byDestination.isEmpty() || anywhere) {
        for (const auto &pair : std::as_const(pairs)) {
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
    source.rule.zonePairs = lowest;

    // Readings: the older GTFS-JP form keys on the written text, the newer
    // GTFS form on a stop (record_id) or on the text (field_value).
    QHash<QString, QString> byText;
    QHash<QString, QString> byStop;
    if (const std::optional<GtfsTable> translations =
            GtfsTable::optional(feed, QStringLiteral("translations.txt"), {}, error)) {
        const bool older = translations->column(QStringLiteral("trans_id")) >= 0;
        const QStringList columns = older
            ? QStringList{QStringLiteral("trans_id"), QStringLiteral("lang"), QStringLiteral("translation")}
            : QStringList{QStringLiteral("table_name"), QStringLiteral("field_name"), QStringLiteral("language"),
                          QStringLiteral("translation")};
        if (!translations->hasColumns(columns, error)) {
            return std::nullopt;
        }
        const int translationColumn = translations->column(QStringLiteral("translation"));
        const int langColumn = translations->column(older ? QStringLiteral("lang") : QStringLiteral("language"));
        const int textColumn = translations->column(older ? QStringLiteral("trans_id") : QStringLiteral("field_value"));
        const int tableColumn = translations->column(QStringLiteral("table_name"));
        const int fieldColumn = translations->column(QStringLiteral("field_name"));
        const int recordColumn = translations->column(QStringLiteral("record_id"));
        if (!translations->forEachRow([&](const QStringList &row, int) {
                if (GtfsTable::field(row, langColumn) != QStringLiteral("ja-Hrkt")) {
                    return QString();
                }
                const QString reading = GtfsTable::field(row, translationColumn);
                if (!older && (GtfsTable::field(row, tableColumn) != QStringLiteral("stops")
                               || GtfsTable::field(row, fieldColumn) != QStringLiteral("stop_name"))) {
                    return QString();
                }
                const QString record = GtfsTable::field(row, recordColumn);
                if (!older && !record.isEmpty()) {
                    byStop.insert(record, reading);
                } else if (const QString text = GtfsTable::field(row, textColumn); !text.isEmpty()) {
                    byText.insert(text, reading);
                }
                return QString();
            }, error)) {
            return std::nullopt;
        }
    } else if (!error.isEmpty()) {
        return std::nullopt;
    }
    qsizetype longestName = 0;
    for (const RouteStop &stop : source.stops) {
        longestName = std::max(longestName, stop.name.size());
    }
    const GtfsReadingPieces pieces(byText, longestName);
    // A stop's reading is kept only when the translations cover every
    // written character of its name; the dictionary also gets the pieces
    // themselves, so that the speech reads names they only partly cover.
    QSet<QString> named;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        RouteStop &stop = source.stops[static_cast<size_t>(i)];
        const auto byId = byStop.constFind(pattern.at(i));
        const QString reading = byId != byStop.cend() ? *byId : pieces.compose(stop.name);
        if (!reading.isEmpty() && !hasKanji(reading)) {
            stop.reading = reading;
            if (!named.contains(stop.name)) {
                named.insert(stop.name);
                result.readings.append({stop.name, reading});
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

    source.announcements = RouteAnnouncements::generate(source);

    // Pairs with no rule show -1.
    const RouteBuilder builder(source);
    int missing = 0;
    for (int n = 1; n <= static_cast<int>(source.stops.size()); ++n) {
        for (int c = 1; c <= ticket; ++c) {
            if (builder.fare(n, c) == -1) {
                ++missing;
            }
        }
    }
    if (missing > 0) {
        result.warnings << QStringLiteral("fare_rules.txt に運賃のない組が %1 あり、-1（運賃なし。表示器には「-1」と出ます）になります").arg(missing);
    }
    return result;
}
