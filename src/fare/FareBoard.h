#pragma once

#include "fare/TicketRequest.h"

#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <array>
#include <variant>

class FareRoute;

// One information-number row of the options: a value that overrides a cell.
struct InfoNumberRow
{
    bool enabled = false;
    // The cell it goes to, 1..98; 0 when its list has no selection (the row
    // is skipped).
    int targetCell = 0;
};

// The options that shape what the board shows at a stop.
struct FareDisplayOptions
{
    // The late-night fare is on (frmCtl Check2): fares are doubled.
    bool lateNight = false;
    // Rows: stop order, ticket number, route text, data column (Check3/Combo4 0..3).
    std::array<InfoNumberRow, 4> infoRows{};
    // The stop order counts from 0 (Check3(4)).
    bool countFromZero = false;
    // The column shown by the data-column row (Combo4(4) position + 1).
    int infoDataColumn = 1;
    // The ticket date: 0 today, 1 the date held since route setting, 2 fixed.
    int dateOption = 0;
    // The fixed date text (Label10).
    QString fixedDate;
};

// A cell value: std::monostate leaves the cell alone; a fare or number is an
// int (32-bit, so a doubled late-night fare keeps its true value); the route
// text is a string.
using CellValue = std::variant<std::monostate, qint32, QString>;

// What the board shows at one stop.
struct StopView
{
    static constexpr int CellCount = 98;

    // False when the stop lies outside the filled slots: show nothing.
    bool valid = false;
    // Positions 1..98 at [1..98]; [0] is unused.
    std::array<CellValue, CellCount + 1> cells{};
    QString stopName;
    // The ticket of this stop; the plug-in path and company are the panel's.
    TicketRequest ticket;

    bool operator==(const StopView &) const = default;
};

namespace FareBoard {

inline constexpr int InfoStopOrder = 0;
inline constexpr int InfoTicketNumber = 1;
inline constexpr int InfoRouteText = 2;
inline constexpr int InfoDataColumn = 3;

// "MM-dd-yyyy", e.g. "12-06-2026".
QString dateText(const QDate &date);
// "HH:mm:ss" on the 24-hour clock, e.g. "07:05:09".
QString timeText(const QTime &time);
// Everything the board, the ticket and the stop-name strip show at `stop`.
StopView compute(const FareRoute &route, int stop, const FareDisplayOptions &options, const QDateTime &now);

} // namespace FareBoard
