#pragma once

#include <QtGlobal>

// What a ticket plug-in can print, as the options dialog shows it: fourteen
// signed 32-bit fields, 56 bytes, in this order. Only 1 means yes in the
// five Can... fields.
struct PlgInfo
{
    // The description format's version; the program does not read it.
    qint32 Version = 0;
    // The ticket picture's size in twips (15 twips to the pixel).
    qint32 PrevWidth = 0;
    qint32 PrevHeight = 0;
    qint32 CanDate = 0;
    qint32 CanTime = 0;
    qint32 CanRoute = 0;
    qint32 CanStopName = 0;
    qint32 CanBarcode = 0;
    qint32 BarcodeCount = 0;
    // Routes 1 to MaxRoute fit in every barcode that carries the route.
    qint32 MaxRoute = 0;
    // 1: the route is numbered sequentially; otherwise route plus a
    // there-and-back flag.
    qint32 BarcodeRouteMode = 0;
    qint32 StopRangeFrom = 0;
    qint32 StopRangeTo = 0;
    // How many company names the ticket offers to choose from.
    qint32 CorpCount = 0;

    bool operator==(const PlgInfo &) const = default;
};

static_assert(sizeof(PlgInfo) == 56, "PlgInfo is fourteen 32-bit fields");
