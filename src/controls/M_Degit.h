#pragma once

#include "DegitFormat.h"

#include <QImage>
#include <QVariant>
#include <QWidget>

class Companion;
class PropertyBag;

// A row of seven-segment digits in the manner of a fare display: every
// position shows the unlit segments of an "8", and the value is lit over them,
// right-aligned. The cell redraws itself completely when its value, a colour
// or its size changes; the format properties (ZeroMode, Shift, FillZero) take
// effect at the next redraw.
class M_Degit : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(uint BaseForeColor READ baseForeColor WRITE setBaseForeColor)
    Q_PROPERTY(uint DegitForeColor READ degitForeColor WRITE setDegitForeColor)
    Q_PROPERTY(int FillZero READ fillZero WRITE setFillZero)
    Q_PROPERTY(int ZeroMode READ zeroMode WRITE setZeroMode)
    Q_PROPERTY(int Shift READ shift WRITE setShift)
    Q_PROPERTY(int Keta READ keta WRITE setKeta)
    Q_PROPERTY(int DegitSize READ degitSize WRITE setDegitSize)
    Q_PROPERTY(int DegitStyle READ degitStyle WRITE setDegitStyle)
    Q_PROPERTY(QVariant Value READ value WRITE setValue)
    Q_PROPERTY(bool UserSet READ userSet WRITE setUserSet)
    Q_PROPERTY(uint BackColor READ backColor WRITE setBackColor)

public:
    static constexpr quint32 DefaultBaseForeColor = DegitFormat::DefaultBaseForeColor;
    static constexpr quint32 DefaultDegitForeColor = DegitFormat::DefaultDegitForeColor;
    static constexpr quint32 DefaultBackColor = DegitFormat::DefaultBackColor;
    static constexpr int DefaultKeta = 4;

    explicit M_Degit(QWidget *parent = nullptr);

    // Colours are 0x00BBGGRR.
    quint32 baseForeColor() const { return m_baseForeColor; }
    void setBaseForeColor(quint32 color);
    quint32 degitForeColor() const { return m_degitForeColor; }
    void setDegitForeColor(quint32 color);
    quint32 backColor() const { return m_backColor; }
    void setBackColor(quint32 color);

    int fillZero() const { return m_format.fillZero; }
    void setFillZero(int fillZero);
    int zeroMode() const { return m_format.zeroMode; }
    void setZeroMode(int zeroMode);
    int shift() const { return m_format.shift; }
    void setShift(int shift);
    int keta() const { return m_format.keta; }
    void setKeta(int keta);
    int degitSize() const { return m_degitSize; }
    void setDegitSize(int degitSize);
    int degitStyle() const { return m_degitStyle; }
    void setDegitStyle(int degitStyle);
    // A number, a text, or an invalid QVariant for the empty value.
    QVariant value() const { return m_value; }
    void setValue(const QVariant &value);
    bool userSet() const { return m_userSet; }
    void setUserSet(bool userSet);
    // How the value -1 (no fare) shows. The program's choice for the whole
    // board rather than a property of the cell: it is neither stored nor
    // saved with the cell.
    DegitFormat::MissingFare missingFare() const { return m_format.missingFare; }
    void setMissingFare(DegitFormat::MissingFare missingFare);

    // The companion library that provides the cell's settings dialog.
    void setCompanion(Companion *companion) { m_companion = companion; }
    // Opens the settings dialog for ZeroMode, Shift and FillZero; takes the
    // values back as they come and returns the dialog's result (1: accepted).
    // Without a companion library nothing opens and the result is 0.
    qint32 ShowSetDlg();
    // Lights every segment (a lamp test) or none, keeping the format.
    void ResetDegit(bool allLit);

    // Loading stores the values as they are, without the assignment rules,
    // neither resizing nor redrawing; saving omits values equal to defaults.
    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

    // What a screen reader announces before the shown value, e.g. "整理券1":
    // the cell's accessible name is the caption and the lit text ("整理券1 210").
    void setAccessibleCaption(const QString &caption);
    // The characters the cell lights, without the unlit positions.
    QString shownText() const;

    // The size the cell is shown at, as a factor of its design size: digits
    // are drawn at the scaled size (never stretched). The host places the
    // cell; 1 by default.
    qreal scale() const { return m_scale; }
    void setScale(qreal scale);
    // One digit position at the cell's scale.
    QSize scaledDigitSize() const;

    // The picture of the last redraw.
    const QImage &picture() const { return m_picture; }
    QSize sizeHint() const override;

    // Pixel size of one digit and of the cell for a DegitSize.
    static QSize digitSizeFor(int degitSize);

signals:
    void DblClick();
    // Every assignment of a property marks the host's stored properties as changed.
    void propertiesChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void assigned(bool redraw);
    void resizeToDigits();
    void DrawDegit();

    quint32 m_baseForeColor = DefaultBaseForeColor;
    quint32 m_degitForeColor = DefaultDegitForeColor;
    quint32 m_backColor = DefaultBackColor;
    DegitFormat m_format;
    int m_degitSize = 0;
    int m_degitStyle = 0;
    qreal m_scale = 1.0;
    QVariant m_value = 0;
    bool m_userSet = true;
    Companion *m_companion = nullptr;
    QImage m_picture;
    QString m_accessibleCaption;
};
