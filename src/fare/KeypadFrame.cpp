#include "KeypadFrame.h"

#include "KeypadEntry.h"
#include "PanelLooks.h"
#include "display/BoardLayout.h"
#include "display/JapaneseFonts.h"

#include <QLabel>

using BoardLayout::fromTwips;

KeypadFrame::KeypadFrame(QWidget *parent)
    : QGroupBox(parent)
{
    setObjectName("Frame1(1)");
    setAccessibleName(QStringLiteral("系統設定（テンキー）"));
    setAutoFillBackground(true); // hides the frame behind it

    m_displays.at(0) = PanelLooks::ledDisplay(this, "Label2(0)", fromTwips(225, 165, 810, 330));
    m_displays.at(1) = PanelLooks::label(this, "Label2(1)", QStringLiteral("-"), fromTwips(1035, 165, 255, 330),
                                         PanelLooks::LedOrange);
    m_displays.at(1)->setAlignment(Qt::AlignCenter);
    m_displays.at(1)->setFont(m_displays.at(0)->font());
    m_displays.at(2) = PanelLooks::ledDisplay(this, "Label2(2)", fromTwips(1290, 165, 465, 330));

    // The telephone layout: 7 8 9 / 4 5 6 / 1 2 3 / 0 系統 区間.
    const std::array<int, 12> keyAt = {7, 8, 9, 4, 5, 6, 1, 2, 3, 0, KeypadEntry::RouteKey, KeypadEntry::SectionKey};
    const std::array<int, 3> columns = {330, 810, 1290};
    const std::array<int, 4> rows = {570, 975, 1395, 1815};
    const QFont digitFont = JapaneseFonts::panelFont(QStringLiteral("ＭＳ Ｐゴシック"), 15.75, true);
    const QFont wordFont = JapaneseFonts::panelFont(QStringLiteral("ＭＳ Ｐゴシック"), 8.25, false);
    for (int place = 0; place < 12; ++place) {
        const int index = keyAt.at(place);
        const bool digit = index <= 9;
        const QString caption = digit ? QString::number(index)
            : index == KeypadEntry::RouteKey ? QStringLiteral("系統")
                                             : QStringLiteral("区間");
        PanelButton *key = PanelLooks::button(this, QStringLiteral("CommandButton1(%1)").arg(index), caption,
                                              fromTwips(columns.at(place % 3), rows.at(place / 3), 450, 390),
                                              digit ? QColor(PanelButton::DefaultFace) : PanelLooks::Yellow);
        key->setFont(digit ? digitFont : wordFont);
        connect(key, &QPushButton::clicked, this, [this, index] { emit keyClicked(index); });
        m_keys.at(index) = key;
    }
    m_reset = PanelLooks::button(this, "Command1(1)", QStringLiteral("リセット"), fromTwips(330, 2655, 1410, 270));
    connect(m_reset, &QPushButton::clicked, this, &KeypadFrame::resetClicked);
}

void KeypadFrame::showEntry(const KeypadEntry &entry)
{
    m_displays.at(0)->setText(entry.routeText());
    m_displays.at(2)->setText(entry.sectionText());
    // The LED windows report what they show.
    m_displays.at(0)->setAccessibleName((QStringLiteral("系統 ") + entry.routeText()).trimmed());
    m_displays.at(2)->setAccessibleName((QStringLiteral("区間 ") + entry.sectionText()).trimmed());
}

void KeypadFrame::roundKeys(qreal scale)
{
    for (PanelButton *key : m_keys) {
        key->setKeyShape(scale);
    }
}

void KeypadFrame::mouseDoubleClickEvent(QMouseEvent *)
{
    emit doubleClicked();
}
