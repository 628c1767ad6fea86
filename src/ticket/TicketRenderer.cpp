#include "TicketRenderer.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// The digits under a barcode, in a face that every ticket printer has.
constexpr int BarcodeDigitsPixelSize = 10;

QFont ticketFont(const QString &face, int pixelSize, bool bold)
{
    QFont font(face);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

TicketRenderer::TicketRenderer(const TicketDescription &ticket)
    : m_ticket(ticket)
{
}

void TicketRenderer::draw(QPainter &painter, const TicketRequest &request) const
{
    const TicketFields fields(request, m_ticket.companies);
    painter.save();
    painter.setClipRect(QRect(QPoint(0, 0), m_ticket.size));
    for (const TicketElement &element : m_ticket.elements) {
        if (const auto *text = std::get_if<TicketText>(&element)) {
            drawText(painter, *text, fields);
        } else if (const auto *line = std::get_if<TicketLine>(&element)) {
            drawLine(painter, *line);
        } else if (const auto *rectangle = std::get_if<TicketRectangle>(&element)) {
            drawRectangle(painter, *rectangle);
        } else if (const auto *barcode = std::get_if<TicketBarcode>(&element)) {
            drawBarcode(painter, *barcode, fields);
        }
    }
    painter.restore();
}

void TicketRenderer::drawText(QPainter &painter, const TicketText &text, const TicketFields &fields) const
{
    const QString shown = text.text.expand(fields);
    if (shown.isEmpty()) {
        return;
    }
    const QFont font = ticketFont(text.face, text.pixelSize, text.bold);
    const int width = QFontMetrics(font).horizontalAdvance(shown);
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(text.color);
    painter.setClipRect(text.box, Qt::IntersectClip);
    QRect box = text.box;
    if (width > box.width()) {
        // Narrow the text to the box rather than cut it off.
        const qreal squeeze = qreal(box.width()) / width;
        painter.translate(box.left(), 0);
        painter.scale(squeeze, 1.0);
        box = QRect(0, box.top(), width, box.height());
    }
    painter.drawText(box, int(text.alignment) | Qt::TextSingleLine, shown);
    painter.restore();
}

void TicketRenderer::drawLine(QPainter &painter, const TicketLine &line) const
{
    painter.save();
    painter.setPen(QPen(line.color, line.width, line.style, Qt::FlatCap));
    painter.drawLine(line.from, line.to);
    painter.restore();
}

void TicketRenderer::drawRectangle(QPainter &painter, const TicketRectangle &rectangle) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, rectangle.radius > 0);
    painter.setPen(rectangle.width > 0 ? QPen(rectangle.color, rectangle.width, Qt::SolidLine, Qt::SquareCap,
                                              Qt::MiterJoin)
                                       : QPen(Qt::NoPen));
    painter.setBrush(rectangle.fill.isValid() ? QBrush(rectangle.fill) : QBrush(Qt::NoBrush));
    // The outline lies inside the box.
    const qreal inset = rectangle.width / 2.0;
    const QRectF inside = QRectF(rectangle.box).adjusted(inset, inset, -inset, -inset);
    if (rectangle.radius > 0) {
        painter.drawRoundedRect(inside, rectangle.radius, rectangle.radius);
    } else {
        painter.drawRect(inside);
    }
    painter.restore();
}

void TicketRenderer::drawBarcode(QPainter &painter, const TicketBarcode &barcode, const TicketFields &fields) const
{
    // A value the barcode cannot carry leaves its place empty rather than
    // print a code that reads as another stop or route.
    const QString digits = barcode.digitsFor(fields);
    const QList<int> widths = barcode.barWidths(digits);
    if (widths.isEmpty()) {
        return;
    }
    const QFont digitFont = ticketFont(QStringLiteral("ＭＳ ゴシック"), BarcodeDigitsPixelSize, false);
    const int digitsHeight = barcode.showDigits ? QFontMetrics(digitFont).height() : 0;
    const int barHeight = qMax(1, barcode.box.height() - digitsHeight);
    int x = barcode.box.left();
    bool bar = true;
    for (int width : widths) {
        if (bar) {
            painter.fillRect(QRect(x, barcode.box.top(), width, barHeight), Qt::black);
        }
        x += width;
        bar = !bar;
    }
    if (barcode.showDigits) {
        painter.save();
        painter.setFont(digitFont);
        painter.setPen(Qt::black);
        const QRect under(barcode.box.left(), barcode.box.top() + barHeight, x - barcode.box.left(), digitsHeight);
        painter.drawText(under, Qt::AlignCenter | Qt::TextSingleLine, barcode.printedDigits(digits));
        painter.restore();
    }
}
