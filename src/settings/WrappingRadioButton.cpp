#include "WrappingRadioButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int TextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
// The narrowest the button lays out to; the caption wraps below that.
constexpr int MinimumTextWidth = 120;
} // namespace

WrappingRadioButton::WrappingRadioButton(const QString &caption, QWidget *parent)
    : QRadioButton(caption, parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QRect WrappingRadioButton::textArea(const QRect &buttonRect) const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = buttonRect;
    return style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this);
}

int WrappingRadioButton::heightForWidth(int width) const
{
    const QRect area = textArea(QRect(0, 0, width, 1000));
    const int textHeight = fontMetrics().boundingRect(QRect(0, 0, area.width(), 1000), TextFlags, text()).height();
    return qMax(QRadioButton::sizeHint().height(), textHeight + 2);
}

QSize WrappingRadioButton::sizeHint() const
{
    const QSize oneLine = QRadioButton::sizeHint();
    return {oneLine.width(), heightForWidth(oneLine.width())};
}

QSize WrappingRadioButton::minimumSizeHint() const
{
    const int width = QRadioButton::sizeHint().width() - fontMetrics().horizontalAdvance(text()) + MinimumTextWidth;
    return {width, heightForWidth(width)};
}

void WrappingRadioButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_RadioButton, option);
    painter.drawItemText(textArea(rect()), TextFlags, option.palette, isEnabled(), caption, QPalette::WindowText);
}

bool WrappingRadioButton::hitButton(const QPoint &pos) const
{
    // The whole caption, on every line, selects the button.
    return rect().contains(pos);
}
