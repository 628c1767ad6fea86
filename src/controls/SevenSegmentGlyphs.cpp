#include "SevenSegmentGlyphs.h"

#include <QHash>
#include <QPainter>
#include <QPolygonF>
#include <QTransform>

#include <array>

namespace {

// Segment bits: a top, b upper right, c lower right, d bottom, e lower left,
// f upper left, g middle.
enum : quint8 { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };

struct LookMetrics
{
    qreal thickness; // segment thickness as a share of the glyph width
    qreal gap;       // space between neighbouring segments, same unit
    qreal slant;     // horizontal shift per unit of height (italic lean)
    bool pointed;    // pointed segment ends (hexagons) or square ones
};

LookMetrics metricsFor(SevenSegmentGlyphs::Look look)
{
    switch (look) {
    case SevenSegmentGlyphs::Look::Slanted:
        return {0.20, 0.035, 0.12, true};
    case SevenSegmentGlyphs::Look::Narrow:
        return {0.13, 0.05, 0.0, false};
    case SevenSegmentGlyphs::Look::Bevelled:
        break;
    }
    return {0.22, 0.035, 0.0, true};
}

// A horizontal segment from x0 to x1 centred on y, or a vertical one from
// y0 to y1 centred on x: a hexagon with pointed ends, or a plain bar.
QPolygonF horizontalSegment(qreal x0, qreal x1, qreal y, qreal t, bool pointed)
{
    const qreal h = t / 2;
    if (!pointed) {
        return QPolygonF({{x0, y - h}, {x1, y - h}, {x1, y + h}, {x0, y + h}});
    }
    return QPolygonF({{x0, y}, {x0 + h, y - h}, {x1 - h, y - h}, {x1, y}, {x1 - h, y + h}, {x0 + h, y + h}});
}

QPolygonF verticalSegment(qreal y0, qreal y1, qreal x, qreal t, bool pointed)
{
    const qreal h = t / 2;
    if (!pointed) {
        return QPolygonF({{x - h, y0}, {x + h, y0}, {x + h, y1}, {x - h, y1}});
    }
    return QPolygonF({{x, y0}, {x + h, y0 + h}, {x + h, y1 - h}, {x, y1}, {x - h, y1 - h}, {x - h, y0 + h}});
}

} // namespace

SevenSegmentGlyphs::Look SevenSegmentGlyphs::lookForStyle(int degitStyle)
{
    switch (degitStyle) {
    case 1:
        return Look::Slanted;
    case 2:
        return Look::Narrow;
    default:
        return Look::Bevelled;
    }
}

quint8 SevenSegmentGlyphs::segmentsOf(QChar ch)
{
    static const std::array<quint8, 10> digits = {
        A | B | C | D | E | F,     // 0
        B | C,                     // 1
        A | B | D | E | G,         // 2
        A | B | C | D | G,         // 3
        B | C | F | G,             // 4
        A | C | D | F | G,         // 5
        A | C | D | E | F | G,     // 6
        A | B | C | F,             // 7
        A | B | C | D | E | F | G, // 8
        A | B | C | D | F | G,     // 9
    };
    if (ch >= u'0' && ch <= u'9') {
        return digits[ch.unicode() - u'0'];
    }
    switch (ch.toUpper().unicode()) {
    case u'-': return G;
    case u'_': return D;
    case u'A': return A | B | C | E | F | G;
    case u'B': return C | D | E | F | G;
    case u'C': return A | D | E | F;
    case u'D': return B | C | D | E | G;
    case u'E': return A | D | E | F | G;
    case u'F': return A | E | F | G;
    case u'H': return B | C | E | F | G;
    case u'L': return D | E | F;
    case u'P': return A | B | E | F | G;
    case u'U': return B | C | D | E | F;
    default: return 0;
    }
}

QPainterPath SevenSegmentGlyphs::glyph(QChar ch, const QRectF &box, Look look)
{
    const LookMetrics m = metricsFor(look);
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);

    // The glyph is laid out in a unit box (width 1, height `aspect`), then
    // scaled and leaned into the character box.
    const qreal aspect = box.height() / box.width();
    const qreal t = m.thickness;
    const qreal g = m.gap;
    const qreal left = t / 2, right = 1 - t / 2;
    const qreal top = t / 2, middle = aspect / 2, bottom = aspect - t / 2;

    if (ch == u'.') {
        const qreal r = t * 0.75;
        path.addEllipse(QPointF(0.5, bottom - r / 2), r, r);
    } else {
        const quint8 on = segmentsOf(ch);
        auto add = [&](quint8 bit, const QPolygonF &polygon) {
            if (on & bit) {
                path.addPolygon(polygon);
                path.closeSubpath();
            }
        };
        add(A, horizontalSegment(left + g, right - g, top, t, m.pointed));
        add(G, horizontalSegment(left + g, right - g, middle, t, m.pointed));
        add(D, horizontalSegment(left + g, right - g, bottom, t, m.pointed));
        add(F, verticalSegment(top + g, middle - g, left, t, m.pointed));
        add(B, verticalSegment(top + g, middle - g, right, t, m.pointed));
        add(E, verticalSegment(middle + g, bottom - g, left, t, m.pointed));
        add(C, verticalSegment(middle + g, bottom - g, right, t, m.pointed));
    }

    // Lean around the vertical centre, then map the unit box onto the box.
    const qreal leanRoom = m.slant * aspect;
    QTransform transform;
    transform.translate(box.left(), box.top());
    transform.scale(box.width() / (1 + leanRoom), box.width());
    transform.translate(leanRoom, 0);
    transform.shear(-m.slant, 0);
    return transform.map(path);
}

QRectF SevenSegmentGlyphs::characterBox(QSize digit)
{
    // Inset from the digit position, one pixel above the top edge as fare
    // cells have always been drawn.
    const qreal insetX = digit.width() * 0.13;
    const qreal insetTop = digit.height() * 0.11;
    const qreal insetBottom = digit.height() * 0.05;
    return QRectF(insetX, insetTop - 1, digit.width() - 2 * insetX, digit.height() - insetTop - insetBottom);
}

QImage SevenSegmentGlyphs::positionImage(QChar ch, QSize digit, Look look, QColor colour)
{
    // Character, digit size, look and colour packed into one key.
    static QHash<quint64, QImage> cache;
    const quint64 key = quint64(ch.unicode()) << 48 | quint64(digit.width() & 0xFF) << 40
        | quint64(digit.height() & 0xFF) << 32 | quint64(look) << 24 | (colour.rgb() & 0xFFFFFF);
    auto found = cache.constFind(key);
    if (found != cache.cend()) {
        return *found;
    }
    if (cache.size() > 4096) {
        cache.clear(); // a bound for programs that cycle through many colours
    }
    QImage image(digit, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(glyph(ch, characterBox(digit), look));
    painter.end();
    return *cache.insert(key, image);
}
