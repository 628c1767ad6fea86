#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// A time of a trip as timetables write it, "HH:MM:SS" from the midnight that
// starts the service day: a bus leaving after midnight on the evening's
// service runs at 24:10:00 or later. Kept as seconds since that midnight.
class ServiceTime
{
public:
    // Three hour digits at most: far past any service day, and a value
    // that cannot grow past an int however long the text.
    static constexpr int MaxHours = 999;

    // The seconds of "H:MM:SS" or "HH:MM:SS" (up to MaxHours hours,
    // minutes and seconds below 60); nothing for anything else.
    static std::optional<int> parse(QStringView text);
    // "07:05:00", "25:10:30": at least two hour digits.
    static QString format(int seconds);
};
