#include "StopRequestLamp.h"

#include <QPainter>

namespace {

const QString Caption = QStringLiteral("とまります");

} // namespace

StopRequestLamp::StopRequestLamp(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("StopRequestLamp"));
    setAccessibleName(Caption);
    setAccessibleDescription(QStringLiteral("消灯"));
    // The board's dark picture shows around the rounded corners.
    setAttribute(Qt::WA_TranslucentBackground);
}

void StopRequestLamp::setLit(bool lit)
{
    if (lit == m_lit) {
        return;
    }
    m_lit = lit;
    setAccessibleDescription(lit ? QStringLiteral("点灯") : QStringLiteral("消灯"));
    update();
}

void StopRequestLamp::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(rect()).adjusted(1, 1, -1, -1);
    const qreal radius = face.height() / 5;

    // A frosted cover over a lamp: glowing red when lit; when dark the cover
    // still shows its words faintly, as a real one does in daylight.
    QLinearGradient glow(face.topLeft(), face.bottomLeft());
    if (m_lit) {
        glow.setColorAt(0.0, QColor(0xff, 0x5a, 0x3c));
        glow.setColorAt(0.5, QColor(0xf0, 0x20, 0x10));
        glow.setColorAt(1.0, QColor(0xb8, 0x10, 0x08));
    } else {
        glow.setColorAt(0.0, QColor(0x4a, 0x16, 0x12));
        glow.setColorAt(1.0, QColor(0x2c, 0x0a, 0x08));
    }
    painter.setPen(QPen(m_lit ? QColor(0xff, 0xb0, 0x90) : QColor(0x60, 0x40, 0x3c), qMax(1.0, face.height() / 20)));
    painter.setBrush(glow);
    painter.drawRoundedRect(face, radius, radius);

    QFont font = this->font();
    font.setBold(true);
    // Five characters fill the face with a margin either side.
    font.setPixelSize(qMax(6, qMin(int(face.height() * 0.55), int(face.width() / 6.0))));
    painter.setFont(font);
    painter.setPen(m_lit ? QColor(0xff, 0xf8, 0xe0) : QColor(0x78, 0x3a, 0x32));
    painter.drawText(face, Qt::AlignCenter, Caption);
}
