#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <vector>

// What the operator asked for when setting a route.
struct RouteRequest
{
    // The route as entered, leading zeros kept.
    QString routeText;
    // The numeric value of the section text: 0 counts as 1, above 300 as 300.
    qint16 startSection = 1;
    // The route number in decimal without leading zeros; "" becomes "0".
    QString routeNumber;
};

// The decisions of route setting that need no window.
namespace RouteSetting {

inline constexpr int MaxSection = 300;

// A folder as typed in the options: "" stays "" (the working folder),
// anything else ends in "/".
QString withSeparator(const QString &folder);
// The route and section as entered, turned into what route setting uses.
RouteRequest request(const QString &routeText, const QString &sectionText);
// The route's fare data file: folder (with its separator) + number + ".hy3".
QString fareFilePath(const QString &fareDataDir, const QString &routeNumber);
// The text of a row of digit lists: the selected item of each list, in order;
// -1 means a list without a selection, which contributes nothing.
QString listText(const std::vector<int> &selectedDigits);
// The month-day-year text of a date, e.g. "12-06-2026".
QString dateText(const QDate &date);
// The ticket date held from route setting on: today for the two system-date
// options (0 and 1), the fixed date text for option 2.
QString heldDate(int dateOption, const QString &fixedDate, const QDate &today);

} // namespace RouteSetting
