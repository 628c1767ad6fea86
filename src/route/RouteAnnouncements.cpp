#include "RouteAnnouncements.h"

namespace RouteAnnouncements {

QList<TapeRecord> generate(const RouteSource &source)
{
    return source.stops.empty() ? QList<TapeRecord>() : generate(source, source.stops.back().name + QStringLiteral("行き"));
}

QList<TapeRecord> generate(const RouteSource &source, const QString &bound)
{
    QList<TapeRecord> records;
    if (source.stops.empty()) {
        return records;
    }
    const QString terminal = source.stops.back().name;
    records.append({QStringLiteral("ご乗車ありがとうございます。このバスは、%1です。").arg(bound), 0, 0});
    for (size_t i = 1; i < source.stops.size(); ++i) {
        const QString text = i + 1 == source.stops.size() ? QStringLiteral("次は、終点、%1です。").arg(terminal)
                                                          : QStringLiteral("次は、%1です。").arg(source.stops[i].name);
        records.append({text, 1, 0});
    }
    return records;
}

bool areGenerated(const RouteSource &source)
{
    return source.announcements.isEmpty() && !source.noAnnouncementsWanted && !source.stops.empty();
}

QList<TapeRecord> ofSource(const RouteSource &source)
{
    return areGenerated(source) ? generate(source) : source.announcements;
}

} // namespace RouteAnnouncements
