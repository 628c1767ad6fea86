#include "PanelPicture.h"

#include "BoardLayout.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor Frame(0xC8, 0xC8, 0xC8);
const QColor FrameShadow(0x8C, 0x8C, 0x8C);
const QColor FrameLight(0xEE, 0xEE, 0xEE);
const QColor Board(0x00, 0x00, 0x00);
const QColor BandEdge(0x2A, 0x2A, 0x2A);
const QColor SegmentWindow(0x80, 0x80, 0x80);
const QColor WindowEdge(0x50, 0x50, 0x50);
const QColor Strip(0x40, 0x40, 0x40);
const QColor Lettering(0xF0, 0xF0, 0xF0);

constexpr int FrameWidth = 5;

QFont letteringFont(int pixels)
{
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

// Edges are filled rectangles rather than pen strokes: a scaled stroke is
// centred on its line and would stand half a pixel off the fills it borders.
void fillRing(QPainter &p, const QRect &r, const QColor &colour)
{
    p.fillRect(QRect(r.left() - 1, r.top() - 1, r.width() + 2, 1), colour);
    p.fillRect(QRect(r.left() - 1, r.bottom() + 1, r.width() + 2, 1), colour);
    p.fillRect(QRect(r.left() - 1, r.top(), 1, r.height()), colour);
    p.fillRect(QRect(r.right() + 1, r.top(), 1, r.height()), colour);
}

void drawFrame(QPainter &p)
{
    // The frame leaves the last column and row black, as the picture always had.
    const QRect all(QPoint(0, 0), BoardLayout::WindowSize - QSize(1, 1));
    p.fillRect(QRect(QPoint(0, 0), BoardLayout::WindowSize), Board);
    p.fillRect(all, Frame);
    // A raised outer edge and a sunken inner one around the board.
    p.fillRect(QRect(all.left(), all.top(), all.width(), 1), FrameLight);
    p.fillRect(QRect(all.left(), all.top(), 1, all.height()), FrameLight);
    p.fillRect(QRect(all.left(), all.bottom(), all.width(), 1), FrameShadow);
    p.fillRect(QRect(all.right(), all.top(), 1, all.height()), FrameShadow);
    const QRect board = all.adjusted(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth);
    fillRing(p, board, FrameShadow);
    p.fillRect(board, Board);
}

// A window exactly the size of `r`, with a one-pixel edge around it.
void drawWindow(QPainter &p, const QRect &r, const QColor &fill, const QColor &edge)
{
    fillRing(p, r, edge);
    p.fillRect(r, fill);
}

void drawHeading(QPainter &p)
{
    p.setFont(letteringFont(14));
    p.setPen(Lettering);
    p.drawText(QRect(10, 6, 72, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("整理券番号"));
    // An arrow pointing right, towards the numbers.
    QPainterPath arrow;
    arrow.moveTo(80, 12);
    arrow.lineTo(86, 12);
    arrow.lineTo(86, 9);
    arrow.lineTo(92, 14);
    arrow.lineTo(86, 19);
    arrow.lineTo(86, 16);
    arrow.lineTo(80, 16);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Lettering);
    // Enlarged, the arrow's slanted edges are smoothed; at the design size
    // it keeps its exact pixels.
    p.setRenderHint(QPainter::Antialiasing, !p.transform().isIdentity());
    p.drawPath(arrow);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void drawStopNameMargin(QPainter &p)
{
    const QRect strip = BoardLayout::stopNameRect();
    drawWindow(p, strip, Strip, WindowEdge);
    p.setFont(letteringFont(14));
    p.setPen(Lettering);
    const int centre = strip.center().x() + 1;
    p.drawText(QRect(centre - 30, strip.top() - 22, 60, 18), Qt::AlignCenter, QStringLiteral("運賃は"));
    p.drawText(QRect(centre - 30, strip.bottom() + 5, 60, 18), Qt::AlignCenter, QStringLiteral("まで"));
}

} // namespace

void PanelPicture::draw(QPainter &painter, const QSize &size)
{
    const QSize design = BoardLayout::WindowSize;
    painter.save();
    painter.scale(qreal(size.width()) / design.width(), qreal(size.height()) / design.height());
    drawFrame(painter);
    drawHeading(painter);
    drawStopNameMargin(painter);
    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        drawWindow(painter, BoardLayout::labelRect(n), Board, BandEdge);
        drawWindow(painter, BoardLayout::cellRect(n), SegmentWindow, WindowEdge);
    }
    painter.restore();
}

QImage PanelPicture::image(const QSize &size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Board);
    QPainter painter(&picture);
    draw(painter, size);
    return picture;
}
