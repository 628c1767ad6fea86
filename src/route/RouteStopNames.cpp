#include "RouteStopNames.h"

#include "HepburnRomanizer.h"

#include <QDir>
#include <QFileInfo>

RouteStopNames::RouteStopNames(const RouteSource &source)
{
    m_stops.reserve(source.stops.size());
    const HepburnRomanizer romanizer;
    for (const RouteStop &stop : source.stops) {
        QMap<QString, QString> names = stop.names;
        names.insert(QStringLiteral("ja"), stop.name);
        if (!stop.reading.isEmpty()) {
            names.insert(QStringLiteral("kana"), stop.reading);
        }
        if (!names.contains(QStringLiteral("en"))) {
            if (const QString english = romanizer.stopName(stop.name, stop.reading); !english.isEmpty()) {
                names.insert(QStringLiteral("en"), english);
            }
        }
        m_stops.push_back(names);
    }
}

RouteStopNames RouteStopNames::forFareFile(const QString &fareFilePath, const QStringList &stopNames, QString &error)
{
    error.clear();
    const QFileInfo fare(fareFilePath);
    const QString path = fare.dir().filePath(fare.completeBaseName() + RouteSource::fileSuffix());
    if (!QFileInfo::exists(path)) {
        return {};
    }
    const std::optional<RouteSource> source = RouteSource::readFile(path, error);
    if (!source) {
        return {};
    }
    if (!stopNames.isEmpty()) {
        bool same = static_cast<qsizetype>(source->stops.size()) == stopNames.size();
        for (qsizetype i = 0; same && i < stopNames.size(); ++i) {
            same = source->stops[size_t(i)].name == stopNames.at(i);
        }
        if (!same) {
            error = QStringLiteral("%1: 停留所が運賃データと合わないため、外国語の停留所名は使いません")
                        .arg(QDir::toNativeSeparators(path));
            return {};
        }
    }
    return RouteStopNames(*source);
}

QMap<QString, QString> RouteStopNames::names(int stop) const
{
    if (stop < 1 || static_cast<size_t>(stop) > m_stops.size()) {
        return {};
    }
    return m_stops[size_t(stop) - 1];
}
