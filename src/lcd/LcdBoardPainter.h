#pragma once

#include "lcd/LcdBoardCycle.h"
#include "lcd/LcdBoardView.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QTime>

class QPainter;

// Paints the LCD fare display: a 16:9 screen with a band at the top (route,
// destination, the とまります lamp, the clock), the stop in large type and
// the fare table below. Drawn for the size it is given, whatever the paint
// device, never a picture scaled; the layout is laid out on a 1920 x 1080
// grid and every length, font included, is taken to the screen's size.
class LcdBoardPainter
{
public:
    static constexpr QSize Design{1920, 1080};
    // The display window in this look at 100 %; its larger steps reach the
    // whole 1920 x 1080 at 300 %.
    static constexpr QSize Window{640, 360};

    // The 16:9 screen centred in `area`, as large as fits.
    static QRect screenIn(const QRect &area);

    // The screen in `area` (black around it) showing `view` as `cycle` has
    // it now, with the clock at `clock` (none when invalid).
    void paint(QPainter &painter, const QRect &area, const LcdBoardView &view, const LcdBoardCycle &cycle,
               const QTime &clock) const;

private:
    QFont font(qreal pixels, bool bold) const;
    // Text in `box` in `font`, made smaller when it would not fit the width.
    void drawFitted(QPainter &painter, const QRectF &box, const QString &text, QFont font, int flags) const;

    // Large type is drawn once at its size and kept: the raster engine
    // fills glyphs this large as outlines at every paint, which costs more
    // than the rest of the screen together.
    mutable QHash<QString, QImage> m_largeText;
};
