#pragma once

#include <QPushButton>

// A button of the control panel drawn in its own face colour, as the keys of
// an operator's panel are: slightly rounded, darker while pressed, and dimmed
// towards the panel's black while disabled so that it never looks ready to
// press. Its caption is its accessible name, as for any push button.
class PanelButton : public QPushButton
{
    Q_OBJECT

public:
    static constexpr QRgb DefaultFace = 0xE0E0E0;

    explicit PanelButton(const QString &caption, QWidget *parent = nullptr, QColor face = QColor(DefaultFace));

    QColor face() const { return m_face; }
    // The colour actually painted: the face, or the dimmed face when disabled.
    QColor paintedFace() const;

    // Gives the key the rounded outline of a keypad key: the rectangle from
    // (2, 2) to (28, 25) pixels with corners of 2 x 2 pixels, at `scale`.
    void setKeyShape(qreal scale = 1.0);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_face;
    QRect m_faceRect;
    qreal m_keyRadius = 1.5;
};
