#pragma once

#include "PlgInfo.h"

#include <QStringList>

// The lines that the options dialog lists for a ticket plug-in, one per
// capability: six, or ten for a plug-in that prints a barcode.
namespace PluginProperties {

QStringList lines(const PlgInfo &info);

} // namespace PluginProperties
