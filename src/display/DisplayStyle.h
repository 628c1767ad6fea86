#pragma once

#include <QString>

// The look of the display window: the classic LED fare board, or a wide LCD
// screen as newer buses carry. The side settings keep it by its word.
enum class DisplayStyle { Led, Lcd };

namespace DisplayStyles {

inline QString word(DisplayStyle style)
{
    return style == DisplayStyle::Lcd ? QStringLiteral("lcd") : QStringLiteral("led");
}

// The style a word names; `fallback` for any other word.
inline DisplayStyle fromWord(const QString &word, DisplayStyle fallback)
{
    if (word == QLatin1String("lcd")) {
        return DisplayStyle::Lcd;
    }
    return word == QLatin1String("led") ? DisplayStyle::Led : fallback;
}

} // namespace DisplayStyles
