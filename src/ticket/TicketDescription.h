#pragma once

#include "PlgInfo.h"
#include "TicketBarcode.h"
#include "TicketTemplate.h"

#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>

#include <variant>

// A text of the ticket, fitted into its box: a text wider than the box is
// narrowed to fit, as a ticket printer condenses a long stop name.
struct TicketText
{
    QRect box;
    TicketTemplate text;
    // A font family name; the Japanese system faces map to installed ones.
    QString face;
    int pixelSize = 12;
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignCenter;
    QColor color = Qt::black;
};

struct TicketLine
{
    QPoint from;
    QPoint to;
    int width = 1;
    Qt::PenStyle style = Qt::SolidLine;
    QColor color = Qt::black;
};

struct TicketRectangle
{
    QRect box;
    // The outline's width; 0 draws no outline.
    int width = 1;
    int radius = 0;
    QColor color = Qt::black;
    // The inside's colour; invalid leaves it as it is.
    QColor fill;
};

using TicketElement = std::variant<TicketText, TicketLine, TicketRectangle, TicketBarcode>;

// A ticket plug-in: a description of the ticket, read from a .4SP file.
// Sizes and positions are in pixels of the preview at 100 %.
struct TicketDescription
{
    QSize size;
    // The remarks shown in the options.
    QString comment;
    QStringList companies;
    // Drawn in order, later ones over earlier ones.
    QList<TicketElement> elements;

    // What the ticket can print, worked out from its elements.
    PlgInfo plgInfo() const;
};
