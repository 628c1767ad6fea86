#pragma once

#include <QRadioButton>

// An option button whose long caption wraps onto further lines instead of
// widening the button.
class WrappingRadioButton : public QRadioButton
{
    Q_OBJECT

public:
    explicit WrappingRadioButton(const QString &caption, QWidget *parent = nullptr);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    QRect textArea(const QRect &buttonRect) const;
};
