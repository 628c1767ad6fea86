#pragma once

#include <QList>
#include <QString>

// ITF (Interleaved 2 of 5): digits in pairs, the first of a pair in the bars
// and the second in the spaces between them, five elements each with two
// wide. An odd count of digits gets a leading 0.
class ItfBarcode
{
public:
    // `digits` holds only 0-9.
    explicit ItfBarcode(QString digits);

    // The digits the bars carry, with the leading 0 an odd count needs.
    QString encodedDigits() const { return m_digits; }

    // The widths from the start pattern to the stop pattern, a bar first;
    // empty when the digits are not valid.
    QList<int> barWidths(int narrow, int wide) const;
    static int totalWidth(int digitCount, int narrow, int wide);

private:
    QString m_digits;
};
