#include "RouteSourceChange.h"

template <typename T>
RouteSourceChange::Splice<T> RouteSourceChange::Splice<T>::between(const std::vector<T> &before, const std::vector<T> &after)
{
    size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) {
        ++head;
    }
    size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head
           && before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    Splice splice;
    splice.first = head;
    splice.removed.assign(before.begin() + static_cast<std::ptrdiff_t>(head),
                          before.end() - static_cast<std::ptrdiff_t>(tail));
    splice.inserted.assign(after.begin() + static_cast<std::ptrdiff_t>(head),
                           after.end() - static_cast<std::ptrdiff_t>(tail));
    return splice;
}

template <typename T>
void RouteSourceChange::Splice<T>::replace(std::vector<T> &values, bool forward) const
{
    const std::vector<T> &out = forward ? removed : inserted;
    const std::vector<T> &in = forward ? inserted : removed;
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(first);
    values.erase(at, at + static_cast<std::ptrdiff_t>(out.size()));
    values.insert(values.begin() + static_cast<std::ptrdiff_t>(first), in.begin(), in.end());
}

template <typename T>
RouteSourceChange::Part<T> RouteSourceChange::Part<T>::between(const T &before, const T &after)
{
    if (before == after) {
        return {};
    }
    return {before, after};
}

template <typename T>
void RouteSourceChange::Part<T>::put(T &value, bool forward) const
{
    if (before) {
        value = forward ? *after : *before;
    }
}

RouteSourceChange::RouteSourceChange(const RouteSource &before, const RouteSource &after)
    : m_stops(Splice<RouteStop>::between(before.stops, after.stops))
    , m_overrides(Splice<FareOverride>::between(before.overrides, after.overrides))
    , m_trips(Splice<RouteTrip>::between(before.trips, after.trips))
    , m_route(Part<QString>::between(before.route, after.route))
    , m_selectorColumn(Part<int>::between(before.selectorColumn, after.selectorColumn))
    , m_rule(Part<FareRule>::between(before.rule, after.rule))
    , m_announcements(Part<QList<TapeRecord>>::between(before.announcements, after.announcements))
    , m_noAnnouncementsWanted(Part<bool>::between(before.noAnnouncementsWanted, after.noAnnouncementsWanted))
    , m_englishAnnouncements(Part<QStringList>::between(before.englishAnnouncements, after.englishAnnouncements))
    , m_headsignNames(Part<QMap<QString, QString>>::between(before.headsignNames, after.headsignNames))
    , m_readings(Part<QList<QPair<QString, QString>>>::between(before.readings, after.readings))
{
}

void RouteSourceChange::apply(RouteSource &source) const
{
    put(source, true);
}

void RouteSourceChange::revert(RouteSource &source) const
{
    put(source, false);
}

void RouteSourceChange::put(RouteSource &source, bool forward) const
{
    m_stops.replace(source.stops, forward);
    m_overrides.replace(source.overrides, forward);
    m_trips.replace(source.trips, forward);
    m_route.put(source.route, forward);
    m_selectorColumn.put(source.selectorColumn, forward);
    m_rule.put(source.rule, forward);
    m_announcements.put(source.announcements, forward);
    m_noAnnouncementsWanted.put(source.noAnnouncementsWanted, forward);
    m_englishAnnouncements.put(source.englishAnnouncements, forward);
    m_headsignNames.put(source.headsignNames, forward);
    m_readings.put(source.readings, forward);
}
