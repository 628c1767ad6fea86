#include "RouteAnnouncements.h"

#include "HepburnRomanizer.h"

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

QString englishName(const RouteStop &stop)
{
    if (const QString given = stop.names.value(QStringLiteral("en")); !given.isEmpty()) {
        return given;
    }
    const QString romanized = HepburnRomanizer().stopName(stop.name, stop.reading);
    return romanized.isEmpty() ? stop.name : romanized;
}

QString englishWelcome(const QString &bound)
{
    return QStringLiteral("Thank you for riding. This bus is bound for %1.").arg(bound);
}

QString englishLoopWelcome(const QString &start)
{
    return QStringLiteral("Thank you for riding. This bus runs in a loop, back to %1.").arg(start);
}

QStringList generateEnglish(const RouteSource &source)
{
    return source.stops.empty() ? QStringList() : generateEnglish(source, englishWelcome(englishName(source.stops.back())));
}

QStringList generateEnglish(const RouteSource &source, const QString &welcome)
{
    QStringList lines;
    if (source.stops.empty()) {
        return lines;
    }
    lines << welcome;
    for (size_t i = 1; i < source.stops.size(); ++i) {
        const QString name = englishName(source.stops[i]);
        lines << (i + 1 == source.stops.size() ? QStringLiteral("The next stop is %1, the last stop.").arg(name)
                                               : QStringLiteral("The next stop is %1.").arg(name));
    }
    return lines;
}

QStringList englishOfSource(const RouteSource &source)
{
    if (areGenerated(source)) {
        return generateEnglish(source);
    }
    QStringList lines = source.englishAnnouncements.mid(0, source.announcements.size());
    while (lines.size() < source.announcements.size()) {
        lines << QString();
    }
    return lines;
}

} // namespace RouteAnnouncements
