#pragma once

#include <QImage>
#include <QSize>

class QPainter;

// The built-in panel picture that lies behind the display window's board: a
// light frame around a black board with windows for the ticket numbers, the
// fare cells and the stop-name strip, and the printed words 整理券番号, 運賃は
// and まで. It is drawn from shapes and outline text for the size it is shown
// at, so it is as sharp at 300 % as at 100 %; at the board's own size
// (BoardLayout::WindowSize) every edge lies on whole pixels.
namespace PanelPicture {

// Paints the picture stretched to fill `size` (device pixels) from the
// painter's origin. The painter's state is left as it was.
void draw(QPainter &painter, const QSize &size);

// The picture as an opaque image of `size`.
QImage image(const QSize &size);

} // namespace PanelPicture
