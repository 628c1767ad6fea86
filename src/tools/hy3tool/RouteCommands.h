#pragma once

#include <QString>

#include <optional>

// The route-source commands of hy3tool: importing a route from a GTFS feed,
// building a route's files from its source, checking a source and listing
// its trips, and driving it as a recorded track.
namespace RouteCommands {

struct ImportArguments
{
    QString feed;
    QString routeId;
    QString number;
    QString direction; // "", "0" or "1"
    QString tripId;
    QString outDir;
    QString tickets; // "", "auto", "stage" or "stop"
    QString names;   // "", "station" or "stop"
};

// Every route of a feed, one line each, then a line for each direction.
int listRoutes(const QString &feed);
int importGtfs(const ImportArguments &arguments);
int buildRoute(const QString &sourcePath, const QString &outDir);
int checkRoute(const QString &sourcePath);
// The trips of a route source, one line each: id, headsign, first
// departure, last arrival, tab-separated.
int listTrips(const QString &sourcePath);
// A GPX drive along the route's stops by the times of trip `tripId` (empty:
// the first trip, or a steady pace when the route has none).
int writeTrack(const QString &sourcePath, const QString &outPath, const QString &tripId);

} // namespace RouteCommands
