#include "PageTabButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

PageTabButton::PageTabButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    setCheckable(true);
    setAutoDefault(false);
}

void PageTabButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    // The page shown has its tab pressed in and its caption in bold.
    QFont font = painter.font();
    font.setBold(isChecked());
    painter.setFont(font);
    const QRect textArea = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(2, 0, -2, 0);
    painter.drawItemText(textArea, Qt::AlignCenter | Qt::TextWordWrap, option.palette, isEnabled(), caption,
                         QPalette::ButtonText);
}
