#pragma once

#include <QString>
#include <QtGlobal>

// Everything a ticket plug-in is handed to draw the numbered ticket of one
// stop, in the order the drawing call takes it.
struct TicketRequest
{
    // The plug-in file chosen in the options.
    QString pluginPath;
    QString stopName;
    // Month-day-year, e.g. "12-06-2026", as the date option says.
    QString dateText;
    // Hours:minutes:seconds on the 24-hour clock, e.g. "07:05:09".
    QString timeText;
    // The numeric value of the route as entered.
    qint32 routeNumber = 0;
    // The ticket number of the stop.
    qint16 ticketNumber = 0;
    // The stop's position in the route (its fare table slot).
    qint16 stopPosition = 0;
    // The chosen company, -1 for none.
    qint32 companyIndex = -1;

    // A stop whose ticket number is 0 issues no ticket: it is the terminal,
    // where nobody boards. No ticket carries a number below 1 either.
    bool isIssued() const { return ticketNumber > 0; }

    bool operator==(const TicketRequest &) const = default;
};
