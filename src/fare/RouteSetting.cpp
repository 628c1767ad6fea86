#include "RouteSetting.h"

#include "RouteNumber.h"

#include <algorithm>

namespace RouteSetting {

namespace {

// The numeric value of a run of digits; "" is 0. Texts too long for 64 bits
// cannot come from the five- and three-digit entries, and saturate.
qulonglong digitValue(const QString &digits)
{
    qulonglong value = 0;
    for (const QChar c : digits) {
        if (!c.isDigit()) {
            continue;
        }
        value = value > 1'000'000'000'000ULL ? value : value * 10 + static_cast<qulonglong>(c.digitValue());
    }
    return value;
}

} // namespace

QString withSeparator(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) {
        return folder;
    }
    return folder + QLatin1Char('/');
}

RouteRequest request(const QString &routeText, const QString &sectionText)
{
    RouteRequest result;
    result.routeText = routeText;
    const qulonglong section = digitValue(sectionText);
    result.startSection = static_cast<qint16>(section == 0 ? 1 : std::min<qulonglong>(section, MaxSection));
    result.routeNumber = RouteNumber::fromEntry(routeText).text();
    return result;
}

QString fareFilePath(const QString &fareDataDir, const QString &routeNumber)
{
    return withSeparator(fareDataDir) + RouteNumber::fromEntry(routeNumber).fareFileName();
}

QString listText(const std::vector<int> &selectedDigits)
{
    QString text;
    for (const int digit : selectedDigits) {
        if (digit >= 0) {
            text += QString::number(digit);
        }
    }
    return text;
}

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("MM-dd-yyyy"));
}

QString heldDate(int dateOption, const QString &fixedDate, const QDate &today)
{
    return dateOption == 2 ? fixedDate : dateText(today);
}

} // namespace RouteSetting
