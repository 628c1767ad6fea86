#pragma once

#include "RouteSource.h"

#include <optional>
#include <vector>

// What one edit did to a route source, kept as small as the edit: the run
// of stops and of typed cells it replaced, and each other part only when it
// changed. An undo step holds this instead of the route before and after
// (two copies of 301 stops and of every cell typed, a step), so that a long
// session of edits costs memory by what was edited.
class RouteSourceChange
{
public:
    RouteSourceChange(const RouteSource &before, const RouteSource &after);

    // `source` as it was before (revert) or after (apply) the edit; it must
    // be the other of the two.
    void apply(RouteSource &source) const;
    void revert(RouteSource &source) const;

private:
    // Elements [first, first + removed.size()) replaced by `inserted`.
    template <typename T>
    struct Splice
    {
        size_t first = 0;
        std::vector<T> removed;
        std::vector<T> inserted;

        static Splice between(const std::vector<T> &before, const std::vector<T> &after);
        void replace(std::vector<T> &values, bool forward) const;
    };

    // A part kept only when the edit changed it.
    template <typename T>
    struct Part
    {
        std::optional<T> before;
        std::optional<T> after;

        static Part between(const T &before, const T &after);
        void put(T &value, bool forward) const;
    };

    void put(RouteSource &source, bool forward) const;

    Splice<RouteStop> m_stops;
    Splice<FareOverride> m_overrides;
    Splice<RouteTrip> m_trips;
    Part<QString> m_route;
    Part<int> m_selectorColumn;
    Part<FareRule> m_rule;
    Part<QList<TapeRecord>> m_announcements;
    Part<bool> m_noAnnouncementsWanted;
    Part<QStringList> m_englishAnnouncements;
    Part<QMap<QString, QString>> m_headsignNames;
    Part<QList<QPair<QString, QString>>> m_readings;
};
