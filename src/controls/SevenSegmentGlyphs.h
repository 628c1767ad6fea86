#pragma once

#include <QChar>
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

// Seven-segment glyphs drawn as polygons, in three looks. Every character is
// laid out in the same box, so each has the advance of an "8" and lit text
// lines up with the unlit row behind it.
class SevenSegmentGlyphs
{
public:
    enum class Look { Bevelled, Slanted, Narrow };

    // The look that a digit style selects: 1 and 2 choose their own, every
    // other value the classic bevelled look.
    static Look lookForStyle(int degitStyle);

    // The outline of `ch` in a character box; empty for a space or a
    // character that seven segments cannot show.
    static QPainterPath glyph(QChar ch, const QRectF &box, Look look);

    // One digit position (`digit` pixels) with `ch` drawn in `colour` on a
    // transparent ground, its box inset as fare cells draw it. Rendered once
    // and kept: cells are redrawn often and show few different characters.
    static QImage positionImage(QChar ch, QSize digit, Look look, QColor colour);

private:
    static quint8 segmentsOf(QChar ch);
    static QRectF characterBox(QSize digit);
};
