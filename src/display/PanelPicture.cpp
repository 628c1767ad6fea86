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

// The picture at one size. Rectangles are given in the design's pixels and
// filled as whole device pixels: each edge is rounded on its own, so shapes
// that meet in the design meet at every size, and a fill never goes through
// the painter's (much slower) transformed path. Text and the arrow are drawn
// through the scale.
class Canvas
{
public:
    explicit Canvas(QPainter &painter, const QSize &size)
        : m_painter(painter)
        , m_scaleX(qreal(size.width()) / BoardLayout::WindowSize.width())
        , m_scaleY(qreal(size.height()) / BoardLayout::WindowSize.height())
    {
    }

    void fill(const QRect &design, const QColor &colour)
    {
        const QPoint topLeft(qRound(design.left() * m_scaleX), qRound(design.top() * m_scaleY));
        const QPoint end(qRound((design.right() + 1) * m_scaleX), qRound((design.bottom() + 1) * m_scaleY));
        m_painter.fillRect(QRect(topLeft, end - QPoint(1, 1)), colour);
    }

    // Runs `draw` with the painter scaled to the design's pixels.
    template <class Draw>
    void scaled(Draw &&draw)
    {
        m_painter.save();
        m_painter.scale(m_scaleX, m_scaleY);
        draw(m_painter);
        m_painter.restore();
    }

private:
    QPainter &m_painter;
    qreal m_scaleX;
    qreal m_scaleY;
};

// Edges are one-pixel rectangles rather than pen strokes, so that they keep
// their place against the fills they border at every size.
void fillRing(Canvas &c, const QRect &r, const QColor &colour)
{
    c.fill(QRect(r.left() - 1, r.top() - 1, r.width() + 2, 1), colour);
    c.fill(QRect(r.left() - 1, r.bottom() + 1, r.width() + 2, 1), colour);
    c.fill(QRect(r.left() - 1, r.top(), 1, r.height()), colour);
    c.fill(QRect(r.right() + 1, r.top(), 1, r.height()), colour);
}

void drawFrame(Canvas &c)
{
    // The frame leaves the last column and row black, as the picture always had.
    const QRect all(QPoint(0, 0), BoardLayout::WindowSize - QSize(1, 1));
    c.fill(QRect(QPoint(0, 0), BoardLayout::WindowSize), Board);
    c.fill(all, Frame);
    // A raised outer edge and a sunken inner one around the board.
    c.fill(QRect(all.left(), all.top(), all.width(), 1), FrameLight);
    c.fill(QRect(all.left(), all.top(), 1, all.height()), FrameLight);
    c.fill(QRect(all.left(), all.bottom(), all.width(), 1), FrameShadow);
    c.fill(QRect(all.right(), all.top(), 1, all.height()), FrameShadow);
    const QRect board = all.adjusted(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth);
    fillRing(c, board, FrameShadow);
    c.fill(board, Board);
}

// A window exactly the size of `r`, with a one-pixel edge around it.
void drawWindow(Canvas &c, const QRect &r, const QColor &fill, const QColor &edge)
{
    fillRing(c, r, edge);
    c.fill(r, fill);
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
}

void drawStopNameWords(QPainter &p)
{
    const QRect strip = BoardLayout::stopNameRect();
    p.setFont(letteringFont(14));
    p.setPen(Lettering);
    const int centre = strip.center().x() + 1;
    p.drawText(QRect(centre - 30, strip.top() - 22, 60, 18), Qt::AlignCenter, QStringLiteral("運賃は"));
    p.drawText(QRect(centre - 30, strip.bottom() + 5, 60, 18), Qt::AlignCenter, QStringLiteral("まで"));
}

} // namespace

void PanelPicture::draw(QPainter &painter, const QSize &size)
{
    Canvas canvas(painter, size);
    drawFrame(canvas);
    canvas.scaled(drawHeading);
    drawWindow(canvas, BoardLayout::stopNameRect(), Strip, WindowEdge);
    canvas.scaled(drawStopNameWords);
    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        drawWindow(canvas, BoardLayout::labelRect(n), Board, BandEdge);
        drawWindow(canvas, BoardLayout::cellRect(n), SegmentWindow, WindowEdge);
    }
}

QImage PanelPicture::image(const QSize &size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Board);
    QPainter painter(&picture);
    draw(painter, size);
    return picture;
}
