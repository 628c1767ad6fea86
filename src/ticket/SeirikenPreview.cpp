#include "SeirikenPreview.h"

#include <QPaintEvent>
#include <QPainter>

SeirikenPreview::SeirikenPreview(QWidget *parent)
    : QWidget(parent)
{
    setObjectName("picSeirikenPrev");
    setAccessibleName(QStringLiteral("整理券プレビュー"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SeirikenPreview::clear()
{
    m_image.fill(Qt::white);
    update();
}

void SeirikenPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A new size starts a new white picture; the next stop shown draws on it.
    m_image = QImage(size(), QImage::Format_RGB32);
    m_image.fill(Qt::white);
}

void SeirikenPreview::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), m_image, event->rect());
}
