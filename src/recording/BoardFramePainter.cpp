#include "BoardFramePainter.h"

#include "windows/Form1.h"
#include "controls/ChimeiCtl_B.h"

#include <QPainter>

BoardFramePainter::BoardFramePainter(Form1 &display, const QSize &size, ScrollClock &clock)
    : m_display(display)
    , m_size(size)
{
    m_display.ChimeiCtl()->setClock(&clock);
    m_display.layOutOffScreen(size);
}

BoardFramePainter::~BoardFramePainter()
{
    m_display.ChimeiCtl()->setClock(nullptr);
}

QImage BoardFramePainter::paint()
{
    // The strip moves by the time, not by its timer.
    m_display.ChimeiCtl()->advanceScroll();
    QImage &frame = freeImage();
    frame.fill(Qt::black);
    {
        QPainter painter(&frame);
        m_display.render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    return frame;
}

QImage &BoardFramePainter::freeImage()
{
    for (QImage &image : m_images) {
        if (image.isDetached()) {
            return image;
        }
    }
    // As many as the encoder holds at once, and a few more.
    constexpr size_t Kept = 16;
    if (m_images.size() >= Kept) {
        m_images.erase(m_images.begin());
    }
    m_images.emplace_back(m_size, QImage::Format_RGB32);
    return m_images.back();
}
