#include "BoardFramePainter.h"

#include "Form1.h"
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
    QImage frame(m_size, QImage::Format_RGB32);
    frame.fill(Qt::black);
    QPainter painter(&frame);
    m_display.render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return frame;
}
