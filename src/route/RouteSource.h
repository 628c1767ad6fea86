#pragma once

#include "FareRule.h"
#include "formats/TapeCsv.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QString>

#include <array>
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
    // Where the stop stands (WGS 84 degrees), when known.
    std::optional<double> lat;
    std::optional<double> lon;
    // Its name in other languages, by BCP 47 tag ("en", "zh-Hans",
    // "zh-Hant", "ko", ...).
    QMap<QString, QString> names;
    // The English name was made from the reading by the romanization rules
    // rather than given by the feed or the author.
    bool englishFromReading = false;

    bool operator==(const RouteStop &) const = default;
};

// The days a trip runs, as the feed gives them: its service id, and when
// the feed has them, the weekdays between two dates and the dates added to
// or taken from those.
struct TripService
{
    QString id;
    // Monday first; none when the feed gives no weekly calendar.
    std::optional<std::array<bool, 7>> weekdays;
    QDate from;
    QDate until;
    std::vector<QDate> dates;       // runs on these too
    std::vector<QDate> exceptDates; // and not on these

    bool operator==(const TripService &) const = default;
};

// The times of a trip at one stop, seconds from the midnight starting the
// service day (see ServiceTime); none where the trip gives none.
struct StopTime
{
    std::optional<int> arrival;
    std::optional<int> departure;

    bool operator==(const StopTime &) const = default;
};

// One run of the bus along the route's stops.
struct RouteTrip
{
    QString id;
    QString headsign;
    TripService service;
    std::vector<StopTime> times; // one a stop of the route, in its order

    bool operator==(const RouteTrip &) const = default;
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
    // The English line of each of those announcements, by its index; a
    // line missing or empty has none. Made along with the announcements
    // when they are made from the stops.
    QStringList englishAnnouncements;
    // Where the route's buses go, in other languages (by BCP 47 tag), as
    // the feed translates the headsign.
    QMap<QString, QString> headsignNames;
    // How words of the names and announcements read, beyond the stops'
    // own readings: (written, reading), added to the reading dictionary.
    QList<QPair<QString, QString>> readings;
    // The timetable: each trip's times at every stop.
    std::vector<RouteTrip> trips;

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
