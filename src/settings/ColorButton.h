#pragma once

#include <QPushButton>

// A button that shows a colour as its face and keeps it as its value
// (0x00BBGGRR).
class ColorButton : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(uint BackColor READ color WRITE setColor)

public:
    explicit ColorButton(QWidget *parent = nullptr);

    quint32 color() const { return m_color; }
    void setColor(quint32 color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    quint32 m_color = 0;
};
