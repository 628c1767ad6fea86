#pragma once

#include <QImage>
#include <QSize>

#include <vector>

class Form1;
class ScrollClock;

// Paints the display's board, as its own controls draw it, into pictures of
// a chosen size: the frames of a video. The display window is laid out for
// that size and must never be put on a screen (Qt::WA_DontShowOnScreen: the
// window system would give a window shown there its own size back); its
// stop-name strip scrolls by `clock`, so a frame shows what the clock's time
// says, the same every time.
class BoardFramePainter
{
public:
    // `clock` must outlive the painter; the strip goes back to the wall
    // clock when the painter goes.
    BoardFramePainter(Form1 &display, const QSize &size, ScrollClock &clock);
    ~BoardFramePainter();
    BoardFramePainter(const BoardFramePainter &) = delete;
    BoardFramePainter &operator=(const BoardFramePainter &) = delete;

    // The board at the clock's time.
    QImage paint();

private:
    // A picture nobody else holds any more (the encoder has let it go), or
    // a new one: a frame is painted into memory already mapped.
    QImage &freeImage();

    Form1 &m_display;
    QSize m_size;
    std::vector<QImage> m_images;
};
