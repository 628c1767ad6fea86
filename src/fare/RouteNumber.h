#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

// A route number as the display reads it and names the route's files: the
// value of its digits, leading zeros dropped, so that "012" is route 12,
// read from "12.hy3" and "12tp.csv". Every place where a route number
// becomes a file name goes through this one rule.
class RouteNumber
{
public:
    // As many digits as the panel's route entry takes.
    static constexpr int MaxDigits = 5;

    // `text` when it is 1 to MaxDigits ASCII digits, the whole text; nothing
    // otherwise (a blank, a sign, a line break at the end).
    static std::optional<RouteNumber> parse(QStringView text);
    // The route of a name such as a feed's route_short_name: its one run of
    // 1 to MaxDigits digits ("急行12" is route 12); nothing when it has no
    // digits or several runs of them ("12-1"), for the author to say.
    static std::optional<RouteNumber> fromName(QStringView name);
    // The route entry as route setting reads it: the value of its digits,
    // other characters ignored, none at all being route 0.
    static RouteNumber fromEntry(QStringView text);

    qulonglong value() const { return m_value; }
    // "12": the number as the files are named and the display is told.
    QString text() const { return QString::number(m_value); }
    QString fareFileName() const { return text() + QStringLiteral(".hy3"); }
    QString tapeFileName() const { return text() + QStringLiteral("tp.csv"); }
    QString sourceFileName() const { return text() + QStringLiteral(".route.json"); }

    bool operator==(const RouteNumber &) const = default;

private:
    explicit RouteNumber(qulonglong value)
        : m_value(value)
    {
    }

    qulonglong m_value = 0;
};
