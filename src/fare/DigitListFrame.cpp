#include "DigitListFrame.h"

#include "PanelLooks.h"
#include "RouteSetting.h"
#include "display/BoardLayout.h"
#include "display/JapaneseFonts.h"

#include <QLabel>
#include <QListWidget>

using BoardLayout::fromTwips;

namespace {

// A list of the digits "0" to "9", all visible at once, as on the panel.
QListWidget *digitList(QWidget *parent, const QString &name, const QString &accessibleName, const QRect &place)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    list->setGeometry(place);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Rows of the panel's own letter size: the frame is taller than the
    // keypad needs, so that ten of them fit.
    list->setFont(JapaneseFonts::panelFont(QStringLiteral("ＭＳ Ｐゴシック"), 9, false));
    list->setStyleSheet(QStringLiteral("QListWidget { padding: 0px; } QListWidget::item { height: 13px; padding: 0px; }"));
    for (int digit = 0; digit <= 9; ++digit) {
        auto *item = new QListWidgetItem(QString::number(digit), list);
        item->setTextAlignment(Qt::AlignCenter);
    }
    return list;
}

template <std::size_t N>
void selectDigits(const std::array<QListWidget *, N> &lists, const QString &digits)
{
    const QString shown = digits.left(static_cast<qsizetype>(N));
    const qsizetype firstUsed = static_cast<qsizetype>(N) - shown.size();
    for (qsizetype place = 0; place < static_cast<qsizetype>(N); ++place) {
        QListWidget *list = lists.at(static_cast<std::size_t>(place));
        const int digit = place >= firstUsed ? shown.at(place - firstUsed).digitValue() : -1;
        if (digit < 0) {
            list->clearSelection();
            list->setCurrentRow(-1);
        } else {
            list->setCurrentRow(digit);
        }
    }
}

template <std::size_t N>
QString selectedDigits(const std::array<QListWidget *, N> &lists)
{
    std::vector<int> digits;
    for (const QListWidget *list : lists) {
        const QListWidgetItem *item = list->currentItem();
        digits.push_back(item && item->isSelected() ? list->currentRow() : -1);
    }
    return RouteSetting::listText(digits);
}

} // namespace

DigitListFrame::DigitListFrame(QWidget *parent)
    : QGroupBox(parent)
{
    setObjectName("Frame1(0)");
    setAccessibleName(QStringLiteral("系統設定"));
    setAutoFillBackground(true); // hides the frame behind it
    PanelLooks::label(this, "Label5", QStringLiteral("系統設定"), fromTwips(90, 60, 1200, 240));
    PanelLooks::label(this, "Label6", QStringLiteral("系　統"), fromTwips(90, 300, 1125, 240))->setAlignment(Qt::AlignCenter);
    PanelLooks::label(this, "Label7", QStringLiteral("区間"), fromTwips(1260, 300, 675, 240))->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < 5; ++i) {
        m_routeLists.at(i) = digitList(this, QStringLiteral("List2(%1)").arg(i), QStringLiteral("系統 %1桁目").arg(i + 1),
                                       fromTwips(90 + i * 225, 555, 225, 2025));
        connect(m_routeLists.at(i), &QListWidget::itemClicked, this, &DigitListFrame::routeDigitClicked);
    }
    for (int i = 0; i < 3; ++i) {
        m_sectionLists.at(i) = digitList(this, QStringLiteral("List3(%1)").arg(i), QStringLiteral("区間 %1桁目").arg(i + 1),
                                         fromTwips(1260 + i * 225, 555, 225, 2025));
        connect(m_sectionLists.at(i), &QListWidget::itemClicked, this, &DigitListFrame::sectionDigitClicked);
    }
    m_reset = PanelLooks::button(this, "Command1(0)", QStringLiteral("リセット"), fromTwips(330, 2625, 1410, 300));
    connect(m_reset, &QPushButton::clicked, this, &DigitListFrame::resetClicked);
}

void DigitListFrame::showRoute(const QString &routeText, const QString &sectionText)
{
    // Set from here: the lists already say it, in the operator's own places.
    if (routeText == this->routeText() && sectionText == this->sectionText()) {
        return;
    }
    selectDigits(m_routeLists, routeText);
    selectDigits(m_sectionLists, sectionText);
}

QString DigitListFrame::routeText() const
{
    return selectedDigits(m_routeLists);
}

QString DigitListFrame::sectionText() const
{
    return selectedDigits(m_sectionLists);
}

void DigitListFrame::mouseDoubleClickEvent(QMouseEvent *)
{
    emit doubleClicked();
}
