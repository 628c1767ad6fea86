#include "M_Degit.h"

#include "ColorRef.h"
#include "PropertyBag.h"
#include "SevenSegmentGlyphs.h"
#include "controls/Companion.h"

#include <QMouseEvent>
#include <QPainter>

M_Degit::M_Degit(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A new cell takes the size of its digits and shows its bare surface
    // until its first redraw; the host's placement may give it another size.
    resize(sizeHint());
    m_picture = QImage(size(), QImage::Format_RGB32);
    m_picture.fill(ColorRef::toQColor(m_backColor));
}

QSize M_Degit::digitSizeFor(int degitSize)
{
    // Digit width and cell height in twips, 15 twips to the pixel.
    switch (degitSize) {
    case 1:
        return {255 / 15, 390 / 15};
    case 2:
        return {285 / 15, 435 / 15};
    case 3:
        return {165 / 15, 225 / 15};
    default:
        return {195 / 15, 300 / 15};
    }
}

QSize M_Degit::scaledDigitSize() const
{
    const QSize digit = digitSizeFor(m_degitSize);
    return {qRound(digit.width() * m_scale), qRound(digit.height() * m_scale)};
}

QSize M_Degit::sizeHint() const
{
    const QSize digit = scaledDigitSize();
    return {digit.width() * m_format.keta, digit.height()};
}

void M_Degit::setScale(qreal scale)
{
    if (scale <= 0 || qFuzzyCompare(scale, m_scale)) {
        return;
    }
    m_scale = scale;
    // Not a property: nothing stored changes, only the picture.
    DrawDegit();
}

void M_Degit::assigned(bool redraw)
{
    emit propertiesChanged();
    if (redraw) {
        DrawDegit();
    }
}

void M_Degit::setBaseForeColor(quint32 color)
{
    m_baseForeColor = color;
    assigned(true);
}

void M_Degit::setDegitForeColor(quint32 color)
{
    m_degitForeColor = color;
    assigned(true);
}

void M_Degit::setBackColor(quint32 color)
{
    m_backColor = color;
    assigned(true);
}

void M_Degit::setFillZero(int fillZero)
{
    // No lower bound: a negative fill is kept and draws as no fill.
    m_format.fillZero = qMin(fillZero, m_format.keta);
    assigned(false);
}

void M_Degit::setZeroMode(int zeroMode)
{
    // A negative mode is kept and selects no zero handling.
    m_format.zeroMode = zeroMode >= 4 ? 0 : zeroMode;
    assigned(false);
}

void M_Degit::setShift(int shift)
{
    m_format.shift = qMax(qMin(shift, m_format.keta - 1), 0);
    assigned(false);
}

void M_Degit::setKeta(int keta)
{
    m_format.keta = (keta < 1 || keta > 15) ? DefaultKeta : keta;
    resizeToDigits();
    assigned(true);
}

void M_Degit::setDegitSize(int degitSize)
{
    m_degitSize = (degitSize >= 1 && degitSize <= 3) ? degitSize : 0;
    resizeToDigits();
    assigned(true);
}

void M_Degit::setDegitStyle(int degitStyle)
{
    m_degitStyle = degitStyle;
    assigned(true);
}

void M_Degit::setValue(const QVariant &value)
{
    m_value = value;
    assigned(true);
}

void M_Degit::setUserSet(bool userSet)
{
    m_userSet = userSet;
    assigned(false);
}

void M_Degit::setMissingFare(DegitFormat::MissingFare missingFare)
{
    if (missingFare == m_format.missingFare) {
        return;
    }
    m_format.missingFare = missingFare;
    DrawDegit();
}

void M_Degit::resizeToDigits()
{
    resize(sizeHint());
    updateGeometry();
}

qint32 M_Degit::ShowSetDlg()
{
    if (!m_companion) {
        return 0;
    }
    auto zeroMode = static_cast<qint16>(m_format.zeroMode);
    auto shift = static_cast<qint16>(m_format.shift);
    auto fillZero = static_cast<qint16>(m_format.fillZero);
    const qint32 result = m_companion->Call_dlg100(this, static_cast<qint16>(m_format.keta), zeroMode, shift,
                                                   fillZero);
    // The dialog's values are taken as they come, without the assignment rules.
    m_format.zeroMode = zeroMode;
    m_format.shift = shift;
    m_format.fillZero = fillZero;
    emit propertiesChanged();
    DrawDegit();
    return result;
}

void M_Degit::ResetDegit(bool allLit)
{
    const int keptShift = m_format.shift;
    const int keptZeroMode = m_format.zeroMode;
    const int keptFillZero = m_format.fillZero;
    setShift(0);
    setZeroMode(0);
    setFillZero(0);
    setValue(allLit ? QVariant(QString(m_format.keta, u'8')) : QVariant(QString()));
    setShift(keptShift);
    setZeroMode(keptZeroMode);
    setFillZero(keptFillZero);
}

void M_Degit::DrawDegit()
{
    const QSize digit = scaledDigitSize();
    const QSize surface = size();
    // Whole-pixel digits on a surface that rounding made a little wider or
    // taller: the row sits in its middle.
    const QPoint row((surface.width() - m_format.keta * digit.width()) / 2, (surface.height() - digit.height()) / 2);
    if (m_picture.size() != surface) {
        m_picture = QImage(surface, QImage::Format_RGB32);
    }
    m_picture.fill(ColorRef::toQColor(m_backColor));

    QPainter painter(&m_picture);
    const SevenSegmentGlyphs::Look look = SevenSegmentGlyphs::lookForStyle(m_degitStyle);
    const QImage unlit = SevenSegmentGlyphs::positionImage(u'8', digit, look, ColorRef::toQColor(m_baseForeColor));
    for (int i = 0; i < m_format.keta; ++i) {
        painter.drawImage(row.x() + i * digit.width(), row.y(), unlit);
    }
    // The lit characters, flush right, each with the advance of an "8".
    const QString text = m_format.litText(m_value);
    const int x0 = row.x() + (m_format.keta - static_cast<int>(text.size())) * digit.width();
    const QColor lit = ColorRef::toQColor(m_degitForeColor);
    for (int i = 0; i < text.size(); ++i) {
        painter.drawImage(x0 + i * digit.width(), row.y(), SevenSegmentGlyphs::positionImage(text.at(i), digit, look, lit));
    }
    painter.end();
    setAccessibleName((m_accessibleCaption + QLatin1Char(' ') + text.trimmed()).trimmed());
    update();
}

void M_Degit::setAccessibleCaption(const QString &caption)
{
    m_accessibleCaption = caption;
    setAccessibleName((m_accessibleCaption + QLatin1Char(' ') + shownText()).trimmed());
}

QString M_Degit::shownText() const
{
    return m_format.litText(m_value).trimmed();
}

void M_Degit::readProperties(const PropertyBag &bag)
{
    m_baseForeColor = bag.read("BaseForeColor", DefaultBaseForeColor).toUInt();
    m_degitForeColor = bag.read("DegitForeColor", DefaultDegitForeColor).toUInt();
    m_format.fillZero = static_cast<qint16>(bag.read("FillZero", 0).toInt());
    m_format.zeroMode = static_cast<qint16>(bag.read("ZeroMode", 0).toInt());
    m_format.shift = static_cast<qint16>(bag.read("Shift", 0).toInt());
    m_format.keta = static_cast<qint16>(bag.read("Keta", DefaultKeta).toInt());
    m_degitSize = static_cast<qint16>(bag.read("DegitSize", 0).toInt());
    m_degitStyle = static_cast<qint16>(bag.read("DegitStyle", 0).toInt());
    m_value = bag.read("Value", 0);
    m_userSet = bag.read("UserSet", true).toBool();
    m_backColor = bag.read("BackColor", DefaultBackColor).toUInt();
}

void M_Degit::writeProperties(PropertyBag &bag) const
{
    bag.write("BaseForeColor", m_baseForeColor, DefaultBaseForeColor);
    bag.write("DegitForeColor", m_degitForeColor, DefaultDegitForeColor);
    bag.write("FillZero", m_format.fillZero, 0);
    bag.write("ZeroMode", m_format.zeroMode, 0);
    bag.write("Shift", m_format.shift, 0);
    bag.write("Keta", m_format.keta, DefaultKeta);
    bag.write("DegitSize", m_degitSize, 0);
    bag.write("DegitStyle", m_degitStyle, 0);
    bag.write("Value", m_value, 0);
    bag.write("UserSet", m_userSet, true);
    bag.write("BackColor", m_backColor, DefaultBackColor);
}

void M_Degit::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(rect(), ColorRef::toQColor(m_backColor));
    painter.drawImage(event->rect(), m_picture, event->rect());
}

void M_Degit::mousePressEvent(QMouseEvent *event)
{
    // A press on a cell is the cell's own: it never drags the window beneath.
    event->accept();
}

void M_Degit::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    emit DblClick();
}
