#include "Nw7Barcode.h"

#include <array>

namespace {

struct Nw7Character
{
    char symbol;
    // Bar, space, bar, space, bar, space, bar; '1' marks a wide element.
    const char *pattern;
};

constexpr std::array<Nw7Character, 14> Characters{{
    {'0', "0000011"}, {'1', "0000110"}, {'2', "0001001"}, {'3', "1100000"}, {'4', "0010010"},
    {'5', "1000010"}, {'6', "0100001"}, {'7', "0100100"}, {'8', "0110000"}, {'9', "1001000"},
    {'A', "0011010"}, {'B', "0101001"}, {'C', "0001011"}, {'D', "0001110"},
}};

const char *patternOf(QChar symbol)
{
    for (const Nw7Character &character : Characters) {
        if (symbol == QLatin1Char(character.symbol)) {
            return character.pattern;
        }
    }
    return nullptr;
}

} // namespace

Nw7Barcode::Nw7Barcode(QString digits, QChar start, QChar stop)
    : m_text(start + digits + stop)
{
}

bool Nw7Barcode::isFrameLetter(QChar letter)
{
    return letter >= QLatin1Char('A') && letter <= QLatin1Char('D');
}

QList<int> Nw7Barcode::barWidths(int narrow, int wide) const
{
    if (m_text.size() < 2 || !isFrameLetter(m_text.front()) || !isFrameLetter(m_text.back())) {
        return {};
    }
    QList<int> widths;
    widths.reserve(m_text.size() * 8);
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const bool frame = i == 0 || i == m_text.size() - 1;
        if (frame != isFrameLetter(m_text[i])) {
            return {};
        }
        const char *pattern = patternOf(m_text[i]);
        if (!pattern) {
            return {};
        }
        if (i > 0) {
            widths.append(narrow); // the gap between characters
        }
        for (const char *p = pattern; *p; ++p) {
            widths.append(*p == '1' ? wide : narrow);
        }
    }
    return widths;
}

int Nw7Barcode::totalWidth(int digitCount, int narrow, int wide)
{
    // Digits and frame letters are as wide as their patterns; every digit has
    // two wide elements, the letters A to D three.
    const int digitWidth = 5 * narrow + 2 * wide;
    const int letterWidth = 4 * narrow + 3 * wide;
    return digitCount * digitWidth + 2 * letterWidth + (digitCount + 1) * narrow;
}
