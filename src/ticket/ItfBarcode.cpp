#include "ItfBarcode.h"

#include <array>

namespace {

// Five elements per digit; '1' marks a wide one.
constexpr std::array<const char *, 10> DigitPatterns{
    "00110", "10001", "01001", "11000", "00101", "10100", "01100", "00011", "10010", "01010",
};

int evenCount(int digitCount)
{
    return digitCount + digitCount % 2;
}

} // namespace

ItfBarcode::ItfBarcode(QString digits)
    : m_digits(digits.size() % 2 ? QLatin1Char('0') + digits : digits)
{
}

QList<int> ItfBarcode::barWidths(int narrow, int wide) const
{
    if (m_digits.isEmpty()) {
        return {};
    }
    QList<int> widths{narrow, narrow, narrow, narrow}; // start: bar, space, bar, space
    for (qsizetype i = 0; i + 1 < m_digits.size(); i += 2) {
        const int inBars = m_digits[i].digitValue();
        const int inSpaces = m_digits[i + 1].digitValue();
        if (inBars < 0 || inBars > 9 || inSpaces < 0 || inSpaces > 9) {
            return {};
        }
        for (int e = 0; e < 5; ++e) {
            widths.append(DigitPatterns[inBars][e] == '1' ? wide : narrow);
            widths.append(DigitPatterns[inSpaces][e] == '1' ? wide : narrow);
        }
    }
    widths.append({wide, narrow, narrow}); // stop: wide bar, space, bar
    return widths;
}

int ItfBarcode::totalWidth(int digitCount, int narrow, int wide)
{
    const int digitWidth = 3 * narrow + 2 * wide;
    return 4 * narrow + evenCount(digitCount) * digitWidth + wide + 2 * narrow;
}
