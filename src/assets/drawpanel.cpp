// Draws the built-in panel picture that lies behind the display window's
// board: `drawpanel OUT.png`. The picture is committed; run this again only
// when its artwork changes.

#include "display/BoardLayout.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

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

void drawFrame(QPainter &p, const QRect &all)
{
    p.fillRect(all, Frame);
    // A raised outer edge and a sunken inner one around the board.
    p.setPen(FrameLight);
    p.drawLine(all.topLeft(), all.topRight());
    p.drawLine(all.topLeft(), all.bottomLeft());
    p.setPen(FrameShadow);
    p.drawLine(all.bottomLeft(), all.bottomRight());
    p.drawLine(all.topRight(), all.bottomRight());
    const QRect board = all.adjusted(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth);
    p.setPen(FrameShadow);
    p.drawRect(board.adjusted(-1, -1, 0, 0));
    p.fillRect(board, Board);
}

// A window exactly the size of `r`, with a one-pixel edge around it.
void drawWindow(QPainter &p, const QRect &r, const QColor &fill, const QColor &edge)
{
    p.setPen(edge);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(-1, -1, 0, 0));
    p.fillRect(r, fill);
}

void drawHeading(QPainter &p)
{
    p.setFont(letteringFont(14));
    p.setPen(Lettering);
    const QRect text(10, 6, 72, 16);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("整理券番号"));
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
    p.drawPath(arrow);
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

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: drawpanel OUT.png\n", stderr);
        return 2;
    }
    QImage image(BoardLayout::WindowSize, QImage::Format_RGB32);
    QPainter p(&image);
    drawFrame(p, image.rect().adjusted(0, 0, -1, -1));
    drawHeading(p);
    drawStopNameMargin(p);
    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        drawWindow(p, BoardLayout::labelRect(n), Board, BandEdge);
        drawWindow(p, BoardLayout::cellRect(n), SegmentWindow, WindowEdge);
    }
    p.end();
    if (!image.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "drawpanel: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
