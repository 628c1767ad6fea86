#include "ColorButton.h"

#include "controls/ColorRef.h"

#include <QStyleOptionButton>
#include <QStylePainter>

ColorButton::ColorButton(QWidget *parent)
    : QPushButton(parent)
{
}

void ColorButton::setColor(quint32 color)
{
    m_color = color;
    update();
}

void ColorButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButton, option);
    // The colour fills the face inside the bevel.
    const QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(1, 1, -1, -1);
    painter.fillRect(face, ColorRef::toQColor(m_color));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(face.adjusted(0, 0, -1, -1));
}
