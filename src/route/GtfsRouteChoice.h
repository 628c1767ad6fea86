#pragma once

#include "GtfsFeed.h"

#include <QString>

#include <optional>
#include <vector>

// The routes of a feed as an importer chooses among them: names from
// routes.txt, and the directions its trips run in (trips.txt).
struct GtfsRouteChoice
{
    QString routeId;
    QString shortName;
    QString longName;
    // The direction_id values met, in ascending order; empty when the feed
    // gives none.
    std::vector<int> directions;
    int trips = 0;

    static std::optional<std::vector<GtfsRouteChoice>> list(GtfsFeed &feed, QString &error);
};
