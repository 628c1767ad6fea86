#include "CaptionGap.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QStyleOptionButton>

namespace CaptionGap {

namespace {

// Start and length, in characters, of the n-th run of blanks (half- or
// full-width spaces) in a text; length 0 when there is no such run.
std::pair<qsizetype, qsizetype> blankRun(const QString &text, int gapIndex)
{
    int run = -1;
    for (qsizetype i = 0; i < text.size();) {
        if (!text.at(i).isSpace()) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && text.at(end).isSpace()) {
            ++end;
        }
        if (++run == gapIndex) {
            return {i, end - i};
        }
        i = end;
    }
    return {0, 0};
}

// The caption read as one sentence with the widget at its gap ("…") and the
// other gaps closed up: "停留所の順番（区間・個数）を、…コマ目に表示する".
QString spokenCaption(const QString &text, int gapIndex)
{
    const auto [start, length] = blankRun(text, gapIndex);
    QString spoken = text.left(start) + QStringLiteral("…") + text.mid(start + length);
    // The captions are Japanese: their blanks only make room for the widgets.
    spoken.removeIf([](QChar c) { return c.isSpace(); });
    return spoken;
}

// Keeps the widget over its gap while the host's font, style or size change
// (the host takes the dialog's font only once it is placed in the dialog).
class GapKeeper : public QObject
{
public:
    GapKeeper(QWidget *host, int gapIndex, QWidget *widget)
        : QObject(host)
        , m_host(host)
        , m_gapIndex(gapIndex)
        , m_widget(widget)
    {
        widget->setParent(host);
        widget->setAccessibleName(spokenCaption(caption(), gapIndex));
        // The caption's line is as tall as the widget in the gap.
        host->setMinimumHeight(widget->sizeHint().height() + 2);
        host->installEventFilter(this);
        place();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FontChange:
        case QEvent::StyleChange:
        case QEvent::Polish:
        case QEvent::Resize:
            place();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    int textLeft() const
    {
        if (auto *box = qobject_cast<QCheckBox *>(m_host)) {
            QStyleOptionButton option;
            option.initFrom(box);
            return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).left();
        }
        auto *label = static_cast<QLabel *>(m_host);
        return label->contentsRect().left() + label->margin();
    }

    QString caption() const
    {
        if (auto *box = qobject_cast<QCheckBox *>(m_host)) {
            return box->text();
        }
        return static_cast<QLabel *>(m_host)->text();
    }

    void place()
    {
        const QString text = caption();
        const auto [start, length] = blankRun(text, m_gapIndex);
        const QFontMetrics metrics = m_host->fontMetrics();
        const int left = textLeft() + metrics.horizontalAdvance(text.left(start));
        const int width = metrics.horizontalAdvance(text.mid(start, length));
        const int height = m_widget->sizeHint().height();
        // A little air on both sides keeps the neighbouring characters readable.
        m_widget->setGeometry(left + 2, (m_host->height() - height) / 2, qMax(0, width - 4), height);
    }

    QWidget *m_host;
    int m_gapIndex;
    QWidget *m_widget;
};

} // namespace

void placeOver(QCheckBox *host, int gapIndex, QWidget *widget)
{
    new GapKeeper(host, gapIndex, widget);
}

void placeOver(QLabel *host, int gapIndex, QWidget *widget)
{
    new GapKeeper(host, gapIndex, widget);
}

} // namespace CaptionGap
