#pragma once

#include <QPushButton>

// A checkable push button that stands for a page, as a tab does. Its caption
// wraps onto as many lines as the button's width needs.
class PageTabButton : public QPushButton
{
    Q_OBJECT

public:
    explicit PageTabButton(const QString &caption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
