#pragma once

#include "DataIo.h"
#include "RouteSetting.h"
#include "RouteState.h"

#include <QString>

// How a route setting ended.
struct RouteLoadResult
{
    bool ok = false;
    // The exact message box text on failure (an OK box without a title of its
    // own); empty on success.
    QString message;
    // Shown below the message where it helps: for a missing file, the full
    // path where it was looked for.
    QString informativeText;
};

// The fare table and the route state together: the route that is set.
class FareRoute
{
public:
    const DataIo &table() const { return m_table; }
    const RouteState &state() const { return m_state; }

    // Reads the route's fare data file (never creating it). Only a
    // successful read takes over RouteText, StartSection, the fare table,
    // RecordCount and CurrentIndex (= StartSection - 1) together; a refused
    // file leaves the previous route exactly as it was.
    RouteLoadResult load(const RouteRequest &request, const QString &fareFilePath);
    void setHeldDate(const QString &date);

    // A load has succeeded.
    bool hasRoute() const;
    bool canStepBack() const;
    bool canStepForward() const;
    // One stop back or forward; false, and nothing changed, when it cannot.
    bool stepBack();
    bool stepForward();
    // The stop shown: CurrentIndex + 1.
    int currentStop() const;

private:
    DataIo m_table;
    RouteState m_state;
};
