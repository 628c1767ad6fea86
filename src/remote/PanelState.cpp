#include "PanelState.h"

#include <QJsonArray>

QJsonObject PanelState::toJson() const
{
    QJsonObject stop;
    if (hasRoute) {
        stop = {{"position", stopPosition}, {"count", stopCount}, {"name", stopName}, {"ticket", ticket}};
        if (!stopNames.isEmpty()) {
            QJsonObject names;
            for (auto it = stopNames.cbegin(); it != stopNames.cend(); ++it) {
                names.insert(it.key(), it.value());
            }
            stop.insert(QStringLiteral("names"), names);
        }
    }
    const QJsonObject announcement{{"position", announcementPosition},
                                   {"count", announcementCount},
                                   {"next", nextAnnouncement},
                                   {"speaking", speaking},
                                   {"available", announcementAvailable}};
    return {{"route", route},
            // A route "00012" is route number 12; none before any route.
            {"routeNumber", hasRoute ? QJsonValue(route.toInt()) : QJsonValue()},
            {"section", section},
            {"stop", hasRoute ? QJsonValue(stop) : QJsonValue()},
            {"lateNight", lateNight},
            {"backlight", backlight},
            {"cleared", cleared},
            {"stopRequested", stopRequested},
            {"announcement", announcement},
            {"cells", QJsonArray::fromStringList(cells)},
            {"labels", QJsonArray::fromStringList(labels)},
            {"strip", strip},
            {"held", held},
            {"run", run},
            {"style", style},
            {"lcd", lcd}};
}
