#pragma once

#include "TicketDescription.h"
#include "fare/TicketRequest.h"

class QPainter;

// Draws a ticket description for one stop. The ticket's top-left corner is
// the painter's origin, one description pixel one device pixel.
class TicketRenderer
{
public:
    explicit TicketRenderer(const TicketDescription &ticket);

    void draw(QPainter &painter, const TicketRequest &request) const;

private:
    void drawText(QPainter &painter, const TicketText &text, const TicketFields &fields) const;
    void drawLine(QPainter &painter, const TicketLine &line) const;
    void drawRectangle(QPainter &painter, const TicketRectangle &rectangle) const;
    void drawBarcode(QPainter &painter, const TicketBarcode &barcode, const TicketFields &fields) const;

    const TicketDescription &m_ticket;
};
