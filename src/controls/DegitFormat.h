#pragma once

#include <QString>
#include <QVariant>

// How a digit cell turns its value into the characters it lights. A value is
// a number, a text, or empty (an invalid QVariant: never assigned).
struct DegitFormat
{
    // How a cell without a fare (-1) shows: "-1" as the fare data has it,
    // nothing lit, or a dash across every position.
    enum class MissingFare { MinusOne, Blank, Dash };

    // A cell's first colours (0x00BBGGRR): unlit and lit segments on grey.
    static constexpr quint32 DefaultBaseForeColor = 0x969696;
    static constexpr quint32 DefaultDegitForeColor = 0x72D2F8;
    static constexpr quint32 DefaultBackColor = 0x808080;

    int keta = 4;
    int zeroMode = 0;
    int fillZero = 0;
    int shift = 0;
    MissingFare missingFare = MissingFare::MinusOne;

    // The lit text, right-aligned in `keta` positions: its last `keta`
    // characters after zero handling, zero fill and shift. A space leaves its
    // position unlit. A -1 that the zero handling leaves as it is shows as
    // `missingFare` says.
    QString litText(const QVariant &value) const;

    // The plain decimal text of a value: 210 -> "210", -5 -> "-5", 2.5 -> "2.5".
    static QString plainText(const QVariant &value);
};
