#include "TicketDescription.h"

#include "display/BoardLayout.h"
#include "fare/DataIo.h"

#include <limits>

namespace {

// The stops a route can have: the fare table's slots.
constexpr qint32 LastStopPosition = DataIo::SlotCount;
constexpr qint32 FormatVersion = 1;

constexpr qint32 YesValue = 1;
constexpr qint32 SequentialRoute = 1;
constexpr qint32 RouteAndDirection = 2;

qint32 yes(bool condition)
{
    return condition ? YesValue : 0;
}

qint32 clampedToInt32(qint64 value)
{
    return qint32(qMin<qint64>(value, std::numeric_limits<qint32>::max()));
}

} // namespace

PlgInfo TicketDescription::plgInfo() const
{
    PlgInfo info;
    info.Version = FormatVersion;
    info.PrevWidth = size.width() * BoardLayout::TwipsPerPixel;
    info.PrevHeight = size.height() * BoardLayout::TwipsPerPixel;
    info.CorpCount = qint32(companies.size());

    bool date = false, time = false, route = false, stopName = false;
    qint64 maxRoute = std::numeric_limits<qint32>::max();
    qint64 lastStop = LastStopPosition;
    const TicketBarcode *firstBarcode = nullptr;
    for (const TicketElement &element : elements) {
        if (const auto *text = std::get_if<TicketText>(&element)) {
            date = date || text->text.uses(&TicketFields::isDate);
            time = time || text->text.uses(&TicketFields::isTime);
            route = route || text->text.uses(TicketField::Route);
            stopName = stopName || text->text.uses(TicketField::StopName);
        } else if (const auto *barcode = std::get_if<TicketBarcode>(&element)) {
            firstBarcode = firstBarcode ? firstBarcode : barcode;
            ++info.BarcodeCount;
            if (const auto capacity = barcode->capacityOf(TicketField::Route)) {
                route = true;
                maxRoute = qMin(maxRoute, *capacity);
            }
            if (const auto capacity = barcode->capacityOf(TicketField::Position)) {
                lastStop = qMin(lastStop, *capacity);
            }
        }
    }
    info.CanDate = yes(date);
    info.CanTime = yes(time);
    info.CanRoute = yes(route);
    info.CanStopName = yes(stopName);
    info.CanBarcode = yes(firstBarcode != nullptr);
    if (firstBarcode) {
        info.MaxRoute = clampedToInt32(maxRoute);
        info.BarcodeRouteMode = firstBarcode->sequentialRoute ? SequentialRoute : RouteAndDirection;
    }
    info.StopRangeFrom = 1;
    info.StopRangeTo = qint32(lastStop);
    return info;
}
