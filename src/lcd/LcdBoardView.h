#pragma once

#include <QList>
#include <QMap>
#include <QString>

// What the LCD fare display shows, taken from the running bus: plain text,
// so that it can be painted, read aloud and compared without the bus.
struct LcdBoardView
{
    // One cell of the fare table: the ticket number as the board labels it
    // and the fare as the board's cells light it (empty: blank).
    struct Fare
    {
        QString number;
        QString fare;
        bool operator==(const Fare &) const = default;
    };

    // Nothing but the dark screen: the display is cleared.
    bool dark = false;
    // Before any route: the clock alone.
    bool hasRoute = false;
    QString route;
    // The last stop's names (language tag -> name), for the band's "行".
    QMap<QString, QString> destination;
    bool stopRequested = false;
    // The bus stands at the stop shown (its first stop); otherwise the stop
    // shown is the one it runs to.
    bool standing = false;
    bool lastStop = false;
    // Shown in place of the stop while the route is being set.
    QString message;
    // The stop's names: "ja", "kana", "en", "zh-Hans", "zh-Hant", "ko".
    QMap<QString, QString> names;
    // The issued ticket numbers, oldest first.
    QList<Fare> fares;

    bool operator==(const LcdBoardView &) const = default;
};
