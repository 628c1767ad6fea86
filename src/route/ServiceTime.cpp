#include "ServiceTime.h"

#include <algorithm>

namespace {

// The value of 1 to `most` ASCII digits; nothing otherwise.
std::optional<int> digits(QStringView text, qsizetype least, qsizetype most)
{
    if (text.size() < least || text.size() > most) {
        return std::nullopt;
    }
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace

std::optional<int> ServiceTime::parse(QStringView text)
{
    const qsizetype firstColon = text.indexOf(QLatin1Char(':'));
    const qsizetype secondColon = firstColon < 0 ? -1 : text.indexOf(QLatin1Char(':'), firstColon + 1);
    if (secondColon < 0) {
        return std::nullopt;
    }
    const std::optional<int> hours = digits(text.first(firstColon), 1, 3);
    const std::optional<int> minutes = digits(text.sliced(firstColon + 1, secondColon - firstColon - 1), 2, 2);
    const std::optional<int> seconds = digits(text.sliced(secondColon + 1), 2, 2);
    if (!hours || !minutes || !seconds || *minutes > 59 || *seconds > 59) {
        return std::nullopt;
    }
    return (*hours * 60 + *minutes) * 60 + *seconds;
}

QString ServiceTime::format(int seconds)
{
    seconds = std::max(seconds, 0);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
