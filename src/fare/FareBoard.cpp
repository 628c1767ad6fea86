#include "FareBoard.h"

#include "FareRoute.h"
#include "RouteSetting.h"

#include <algorithm>

namespace FareBoard {

namespace {

bool isCell(int cell)
{
    return cell >= 1 && cell <= StopView::CellCount;
}

// The value an information row writes at stop n.
CellValue infoValue(int row, const FareRoute &route, int n, const FareDisplayOptions &options)
{
    const StopRecord &record = route.table().slot(n);
    switch (row) {
    case InfoStopOrder:
        return qint32(options.countFromZero ? n - 1 : n);
    case InfoTicketNumber:
        return qint32(record.ticketNumber);
    case InfoRouteText:
        return route.state().RouteText;
    default:
        return qint32(record.column(options.infoDataColumn));
    }
}

QString ticketDate(const FareRoute &route, const FareDisplayOptions &options, const QDate &today)
{
    switch (options.dateOption) {
    case 1:
        return route.state().HeldDate;
    case 2:
        return options.fixedDate;
    default:
        return dateText(today);
    }
}

} // namespace

QString dateText(const QDate &date)
{
    return RouteSetting::dateText(date);
}

QString timeText(const QTime &time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

StopView compute(const FareRoute &route, int stop, const FareDisplayOptions &options, const QDateTime &now)
{
    StopView view;
    const RouteState &state = route.state();
    if (stop < 1 || stop > state.RecordCount || stop > DataIo::SlotCount) {
        return view;
    }
    view.valid = true;
    const StopRecord &record = route.table().slot(stop);

    for (int a = std::max<int>(state.StartSection, 1); a <= StopView::CellCount; ++a) {
        qint32 fare = record.column(a);
        // Doubled in 32 bits so that a large fare shows its true value; -1
        // (no fare here) is never doubled.
        if (options.lateNight && fare != -1) {
            fare *= 2;
        }
        view.cells[static_cast<size_t>(a)] = fare;
    }
    // Written after the fares, in row order: the later row wins a cell.
    for (int row = 0; row < static_cast<int>(options.infoRows.size()); ++row) {
        const InfoNumberRow &info = options.infoRows[static_cast<size_t>(row)];
        if (info.enabled && isCell(info.targetCell)) {
            view.cells[static_cast<size_t>(info.targetCell)] = infoValue(row, route, stop, options);
        }
    }

    view.stopName = record.name;
    view.ticket.stopName = record.name;
    view.ticket.dateText = ticketDate(route, options, now.date());
    view.ticket.timeText = timeText(now.time());
    view.ticket.routeNumber = state.RouteText.toInt();
    view.ticket.ticketNumber = record.ticketNumber;
    view.ticket.stopPosition = static_cast<qint16>(stop);
    return view;
}

} // namespace FareBoard
