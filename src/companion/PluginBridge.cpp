#include "PluginBridge.h"

#include "ticket/TicketDescriptionReader.h"
#include "ticket/TicketRenderer.h"

#include <QPainter>

namespace PluginBridge {

qint32 Brix4_GetPlgInfo(const QString &path, PlgInfo &info)
{
    const std::optional<TicketDescription> ticket = TicketDescriptionReader::readFile(path);
    if (!ticket) {
        return 0;
    }
    info = ticket->plgInfo();
    return 1;
}

qint32 Brix4_DrawSeiriken(const QString &path, QPaintDevice *device, const QString &stopName,
                          const QString &dateText, const QString &timeText, qint32 routeNumber,
                          qint16 ticketNumber, qint16 stopPosition, qint32 companyIndex)
{
    if (!device || device->width() <= 0 || device->height() <= 0) {
        return 0;
    }
    const std::optional<TicketDescription> ticket = TicketDescriptionReader::readFile(path);
    if (!ticket) {
        return 0;
    }
    TicketRequest request;
    request.pluginPath = path;
    request.stopName = stopName;
    request.dateText = dateText;
    request.timeText = timeText;
    request.routeNumber = routeNumber;
    request.ticketNumber = ticketNumber;
    request.stopPosition = stopPosition;
    request.companyIndex = companyIndex;
    QPainter painter(device);
    TicketRenderer(*ticket).draw(painter, request);
    return 1;
}

QString pluginComment(const QString &path)
{
    const std::optional<TicketDescription> ticket = TicketDescriptionReader::readFile(path);
    return ticket ? ticket->comment : QString();
}

QStringList pluginCompanies(const QString &path)
{
    const std::optional<TicketDescription> ticket = TicketDescriptionReader::readFile(path);
    return ticket ? ticket->companies : QStringList();
}

} // namespace PluginBridge
