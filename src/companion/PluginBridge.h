#pragma once

#include "ticket/PlgInfo.h"

#include <QString>
#include <QStringList>

class QPaintDevice;

// The companion library's traffic with ticket plug-ins. A plug-in is a
// ticket description read afresh from its file at every call; nothing of it
// is kept between calls.
namespace PluginBridge {

// Non-zero when the file is a valid ticket plug-in; `info` is then filled.
qint32 Brix4_GetPlgInfo(const QString &path, PlgInfo &info);

// Draws the ticket of one stop at the device's top-left corner. Non-zero
// when the plug-in drew; the program does not look at it.
qint32 Brix4_DrawSeiriken(const QString &path, QPaintDevice *device, const QString &stopName,
                          const QString &dateText, const QString &timeText, qint32 routeNumber,
                          qint16 ticketNumber, qint16 stopPosition, qint32 companyIndex);

// The plug-in's remarks and company names; empty for a file that is no
// plug-in. The widget operations of the library write these.
QString pluginComment(const QString &path);
QStringList pluginCompanies(const QString &path);

} // namespace PluginBridge
