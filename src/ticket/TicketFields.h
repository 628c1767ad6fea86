#pragma once

#include "fare/TicketRequest.h"

#include <QDate>
#include <QStringList>
#include <QTime>

#include <optional>

// The things a ticket can print, by the names descriptions use for them.
enum class TicketField {
    Number,   // "number": the ticket number of the stop
    StopName, // "stop"
    Date,     // "date": year/month/day
    Year,
    Month,
    Day,
    Time,     // "time": hours:minutes
    Hour,
    Minute,
    Second,
    Route,    // "route": the route number
    Company,  // "company": the chosen company's name
    Position, // "position": the stop's position in the route
};

// The values of one ticket's fields, taken from the drawing request.
class TicketFields
{
public:
    TicketFields(const TicketRequest &request, const QStringList &companies);

    static std::optional<TicketField> fieldNamed(QStringView name);
    static bool isNumeric(TicketField field);
    static bool isDate(TicketField field);
    static bool isTime(TicketField field);

    // The field as text: numbers in plain decimal, zero-padded to
    // `padDigits`; empty when the request does not give it (an unknown
    // company, a date text in neither accepted form).
    QString text(TicketField field, int padDigits = 0) const;
    // A numeric field's value; nothing when the request does not give it.
    std::optional<qint64> number(TicketField field) const;

    // Half-width letters, digits and signs as their full-width forms.
    static QString toFullWidth(const QString &text);

private:
    TicketRequest m_request;
    QString m_company;
    QDate m_date;
    QTime m_time;
};
