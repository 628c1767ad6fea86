#pragma once

#include "GtfsFeed.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The routes of a feed as an importer chooses among them: names from
// routes.txt, and for each direction its trips run in (trips.txt) the
// headsigns, and the first and last stop and the number of stops of the
// trips' most frequent course (stop_times.txt, names from stops.txt).
struct GtfsRouteChoice
{
    struct Direction
    {
        std::optional<int> id; // direction_id; none when the trips give none
        QStringList headsigns; // as met, each once
        QString firstStop;
        QString lastStop;
        int stops = 0;
        int trips = 0;
    };

    QString routeId;
    QString shortName;
    QString longName;
    // In ascending order of direction_id, trips without one first.
    std::vector<Direction> directions;
    int trips = 0;

    static std::optional<std::vector<GtfsRouteChoice>> list(GtfsFeed &feed, QString &error);
};
