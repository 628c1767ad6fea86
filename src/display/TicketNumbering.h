#pragma once

#include <QMap>
#include <QString>

// The twelve numbering styles of the ticket-number labels.
namespace TicketNumbering {

constexpr int StyleCount = 12;

// The word that marks position 1 as the no-ticket position in styles 2..9;
// empty for every other style.
QString positionOneWord(int style);

// k in full-width digits, two digits with a leading zero when zeroPad is set
// and k is below 10.
QString numberText(int k, bool zeroPad);

// The numbered labels a style writes: position -> text, in ascending order.
// Position 1 appears only in styles 0 and 1, which number it.
QMap<int, QString> numberedLabels(int style, bool zeroPad);

} // namespace TicketNumbering
