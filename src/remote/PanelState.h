#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QString>
#include <QStringList>

// What the control panel and the board show, as the remote interface tells
// it (GET /api/state and every event of /api/events).
struct PanelState
{
    // The route as entered, leading zeros kept; empty before any route.
    QString route;
    int section = 1;
    bool hasRoute = false;
    // The stop shown (1-based) of `stopCount`, its name and ticket number.
    int stopPosition = 0;
    int stopCount = 0;
    QString stopName;
    int ticket = 0;
    // The stop's names by language ("ja", "kana", "en", ...), when the
    // route's source is beside its fare data.
    QMap<QString, QString> stopNames;
    bool lateNight = false;
    // 0 OFF, 1 ON1, 2 ON2.
    int backlight = 0;
    bool cleared = false;
    // The とまります lamp: a passenger asked to get off at the next stop.
    bool stopRequested = false;
    // The announcement last spoken (0: none yet) of `announcementCount`,
    // the words the next step speaks (empty past the last record), and
    // whether the keys can be used.
    int announcementPosition = 0;
    int announcementCount = 0;
    QString nextAnnouncement;
    bool speaking = false;
    bool announcementAvailable = false;
    // What the 98 fare cells light, and the ticket-number labels above them.
    QStringList cells;
    QStringList labels;
    // What the stop-name strip shows now (also "系統選別中", or nothing).
    QString strip;
    // Why the panel holds its input; empty when it takes commands.
    QString held;
    // The run that drives the bus by itself ("mode", and what belongs to
    // it), or null when none.
    QJsonValue run{QJsonValue::Null};
    // The display's look, "led" or "lcd", and what the LCD shows (its
    // destination, stop names, whether the bus stands, the issued fares).
    QString style = QStringLiteral("led");
    QJsonObject lcd;

    QJsonObject toJson() const;
    bool operator==(const PanelState &) const = default;
};
