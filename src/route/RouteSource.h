#pragma once

#include "FareRule.h"
#include "sound/TapeCsv.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

// One stop of a route as its author keeps it.
struct RouteStop
{
    // The stepping sound the selector column picks at this stop.
    enum class Sound { Ordinary = 1, Major = 2, Terminal = 3 };

    QString name;
    QString reading; // hiragana or katakana; empty when the name reads as written
    std::optional<int> distanceTenths; // from the first stop, 0.1 km
    QString zone;
    // The ticket number drawn here; nothing lets the route number it.
    std::optional<int> ticket;
    Sound sound = Sound::Ordinary;

    bool operator==(const RouteStop &) const = default;
};

// A fare cell typed over what the rule gives: at stop `stop` (1-based), in
// the column of ticket `ticket`. Columns 99 to 150 hold no fares; a value
// there (an information number of fare data opened as it was) is written as
// it is.
struct FareOverride
{
    int stop = 0;
    int ticket = 0;
    int fare = 0;

    bool operator==(const FareOverride &) const = default;
};

// The route source file "<route>.route.json": what a fare data file cannot
// keep (readings, distances, zones, the fare rule, cells typed by hand, the
// announcements), from which the fare data file, the announcement file and
// the route's readings are built. UTF-8 JSON, described in
// docs/route-files.md.
struct RouteSource
{
    static constexpr int DefaultSelectorColumn = 150;

    QString route; // the route number, digits (see RouteNumber)
    std::vector<RouteStop> stops;
    FareRule rule;
    std::vector<FareOverride> overrides;
    // The column receiving each stop's sound class; 0: none (fare data
    // opened without one keeps its columns as they were).
    int selectorColumn = DefaultSelectorColumn;
    // The announcements the author wrote; when there are none, the route's
    // files get those RouteAnnouncements makes from the stops, unless the
    // author wants none (an empty list written as such).
    QList<TapeRecord> announcements;
    bool noAnnouncementsWanted = false;
    // How words of the names and announcements read, beyond the stops'
    // own readings: (written, reading), added to the reading dictionary.
    QList<QPair<QString, QString>> readings;

    // Far above any route of 301 stops: a larger file is refused unread,
    // and a source that would be larger is not written.
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

    static QString fileSuffix() { return QStringLiteral(".route.json"); }

    QByteArray toJson() const;
    // The source in `json`, or nothing with the reason in `error` (which
    // names the stop or the key that is wrong).
    static std::optional<RouteSource> fromJson(const QByteArray &json, QString &error);
    // The source in the file at `path`, read whole up to MaxFileBytes (a
    // plain file only); nothing with the reason, naming the file, in `error`.
    static std::optional<RouteSource> readFile(const QString &path, QString &error);
};
