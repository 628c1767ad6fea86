#pragma once

#include "GtfsFeed.h"
#include "RouteSource.h"

#include <QString>
#include <QStringList>

#include <optional>

// Turns one route of a GTFS / GTFS-JP feed into a route source: its stop
// pattern, ticket numbers by fare zone, the fares of fare_rules.txt between
// zones, the readings of translations.txt and generated announcements.
class GtfsImport
{
public:
    struct Request
    {
        QString routeId;
        QString routeNumber;           // the route number of the files written
        std::optional<int> direction;  // 0 or 1
        QString tripId;                // this trip's stops instead of the most frequent pattern
    };

    struct Result
    {
        RouteSource source;
        // Written form -> reading (hiragana as the feed gives it): the stops
        // whose names the translations read in full, then every translated
        // piece found in a stop name.
        QList<QPair<QString, QString>> readings;
        QStringList warnings;
    };

    // The route, or nothing with the reason in `error`: a missing file or
    // column, a bad line (file and line named), an unknown route or trip,
    // too few stops, or more stops or ticket numbers than a fare data file
    // holds.
    static std::optional<Result> run(GtfsFeed &feed, const Request &request, QString &error);
};
