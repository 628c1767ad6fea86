#include "PanelButton.h"

#include "display/DisplayScale.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>

PanelButton::PanelButton(const QString &caption, QWidget *parent, QColor face)
    : QPushButton(caption, parent)
    , m_face(face)
{
    setFocusPolicy(Qt::TabFocus);
}

QColor PanelButton::paintedFace() const
{
    if (isEnabled()) {
        return m_face;
    }
    // Halfway to the black panel: the colour is still recognisable, but the
    // key plainly is not lit.
    return QColor(m_face.red() * 45 / 100, m_face.green() * 45 / 100, m_face.blue() * 45 / 100);
}

void PanelButton::setKeyShape(qreal scale)
{
    m_faceRect = DisplayScale::mapped(QRect(QPoint(2, 2), QPoint(28, 25)), scale);
    m_keyRadius = 1.5 * scale;
    QPainterPath outline;
    outline.addRoundedRect(QRectF(m_faceRect).adjusted(0, 0, 1, 1), scale, scale);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

void PanelButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(m_faceRect.isNull() ? rect() : m_faceRect).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool pressed = isDown() || isChecked();
    QColor fill = paintedFace();
    if (pressed) {
        fill = fill.darker(125);
    }
    QLinearGradient shade(area.topLeft(), area.bottomLeft());
    shade.setColorAt(0, fill.lighter(pressed ? 100 : 112));
    shade.setColorAt(1, fill.darker(pressed ? 100 : 112));
    painter.setBrush(shade);
    painter.setPen(QPen(isEnabled() ? fill.darker(200) : QColor(0x50, 0x50, 0x50), 1));
    const qreal radius = m_faceRect.isNull() ? 3 : m_keyRadius;
    painter.drawRoundedRect(area, radius, radius);

    painter.setPen(isEnabled() ? QColor(Qt::black) : QColor(0xA0, 0xA0, 0xA0));
    painter.setFont(font());
    painter.drawText(area.translated(pressed ? 1 : 0, pressed ? 1 : 0), Qt::AlignCenter, text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = area.toRect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
