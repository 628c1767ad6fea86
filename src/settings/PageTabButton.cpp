#include "PageTabButton.h"

#include <QAccessibleWidget>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

// A page tab for assistive technology: its caption is its name, and the tab
// of the page shown is the selected one.
class PageTabAccessible : public QAccessibleWidget
{
public:
    explicit PageTabAccessible(PageTabButton *tab)
        : QAccessibleWidget(tab, QAccessible::PageTab)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return tab()->text();
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = tab()->isChecked();
        return state;
    }

    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction()) {
            tab()->click();
        } else {
            QAccessibleWidget::doAction(actionName);
        }
    }

private:
    PageTabButton *tab() const { return static_cast<PageTabButton *>(widget()); }
};

QAccessibleInterface *pageTabFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("PageTabButton")) {
        return new PageTabAccessible(static_cast<PageTabButton *>(object));
    }
    return nullptr;
}

} // namespace

PageTabButton::PageTabButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    static const bool accessibleAsTab = (QAccessible::installFactory(pageTabFactory), true);
    Q_UNUSED(accessibleAsTab)
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
