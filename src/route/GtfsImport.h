#pragma once

#include "GtfsFeed.h"
#include "RouteSource.h"

#include <QString>
#include <QStringList>

#include <optional>

// Turns one route of a GTFS / GTFS-JP feed into a route source: its stop
// pattern, its ticket numbers, the fares of fare_rules.txt between zones (or
// the one price of a feed without rules), the readings of translations.txt
// and generated announcements.
class GtfsImport
{
public:
    // How ticket numbers are given to the stops where passengers board.
    enum class Tickets {
        // By stop while that fits the board's 98, otherwise by fare stage.
        Automatic,
        // One a stop (consecutive stops of one zone share it); a route that
        // needs more than 98 is refused.
        ByStop,
        // One a fare stage: consecutive boarding stops whose fares to every
        // later stop are the same share a number, so that the board still
        // shows every passenger their own fare.
        ByStage,
    };
    // Which name a stop inside a station (a platform) gets.
    enum class Names {
        Station,  // its parent_station's name (川崎駅西口 for 川崎駅西口57番のりば)
        Platform, // its own stop_name
    };

    struct Request
    {
        QString routeId;
        QString routeNumber;           // the route number of the files written
        std::optional<int> direction;  // 0 or 1
        QString tripId;                // this trip's stops instead of the most frequent pattern
        Tickets tickets = Tickets::Automatic;
        Names names = Names::Station;
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
    // column, a bad line (file and line named), an unknown route (the
    // closest ids named) or trip, too few stops, or more stops or ticket
    // numbers than a fare data file holds.
    static std::optional<Result> run(GtfsFeed &feed, const Request &request, QString &error);
};
