#include "TicketNumbering.h"

#include "BoardLayout.h"

namespace TicketNumbering {

QString positionOneWord(int style)
{
    switch (style) {
    case 2:
    case 3:
        return QStringLiteral("な し");
    case 4:
    case 5:
        return QStringLiteral("無 券");
    case 6:
    case 7:
        return QStringLiteral("券なし");
    case 8:
    case 9:
        return QStringLiteral("券無し");
    default:
        return {};
    }
}

QString numberText(int k, bool zeroPad)
{
    QString text = QString::number(k);
    if (zeroPad && k < 10) {
        text.prepend(u'0');
    }
    for (QChar &c : text) {
        if (c >= u'0' && c <= u'9') {
            c = QChar(c.unicode() - u'0' + u'０');
        }
    }
    return text;
}

QMap<int, QString> numberedLabels(int style, bool zeroPad)
{
    QMap<int, QString> labels;
    if (style == 0) {
        for (int n = 1; n <= BoardLayout::Positions; ++n) {
            labels.insert(n, numberText(n, zeroPad));
        }
    } else if (style == 1) {
        for (int k = 0; k < BoardLayout::Positions; ++k) {
            labels.insert(k + 1, numberText(k, zeroPad));
        }
    } else if (style >= 2 && style < StyleCount) {
        // Even styles count from 1 at position 2, odd ones from 2.
        const int offset = style % 2 == 0 ? 0 : 1;
        for (int k = 1; k < BoardLayout::Positions; ++k) {
            labels.insert(k + 1, numberText(k + offset, zeroPad));
        }
    }
    return labels;
}

} // namespace TicketNumbering
