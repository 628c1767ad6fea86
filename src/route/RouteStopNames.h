#pragma once

#include "RouteSource.h"

#include <QMap>
#include <QString>

#include <vector>

// The names of a route's stops in every language its route source keeps,
// for showing them while the bus runs: read from "<route>.route.json"
// beside the fare data, when there is one.
class RouteStopNames
{
public:
    RouteStopNames() = default;
    explicit RouteStopNames(const RouteSource &source);

    // The names of the route of the fare data at `fareFilePath` ("12.hy3"
    // reads "12.route.json" in the same folder). None when there is no such
    // file; none, with the reason naming the file in `error`, when it
    // cannot be read (too large, not a plain file, not a route source), or
    // when its stops are not those of the fare data (`stopNames`, the
    // names the fare data gives, in order; empty: not checked).
    static RouteStopNames forFareFile(const QString &fareFilePath, const QStringList &stopNames, QString &error);

    bool isEmpty() const { return m_stops.empty(); }
    // Language -> name of the board's stop `stop` (1-based): "ja" the name,
    // "kana" its reading when it has one, "en" the English one (made from
    // the reading when the route gives none and it can be), and every other
    // language the route keeps. Empty for a stop the route does not have.
    QMap<QString, QString> names(int stop) const;

private:
    std::vector<QMap<QString, QString>> m_stops;
};
