#pragma once

#include <QString>
#include <QStringView>

// Character-level conversions of Japanese text before and after reading it.
namespace KanaText {

// Full-width Latin letters, digits and symbols become ASCII, half-width
// katakana become full-width and enclosed or squared forms (①, ㈱, ㌔) are
// spelt out, so that the dictionaries see one spelling of each.
QString normalise(const QString &text);

// Hiragana become the katakana of the same sound; everything else stays.
QString toKatakana(const QString &text);
// And back: katakana that have a hiragana become it (ヴ too, as ゔ).
QString toHiragana(const QString &text);

bool isKanji(char32_t c);
bool isKatakana(char32_t c);
// The vowel that a long-vowel mark after `kana` lengthens (キョ -> オ);
// ン and ッ are their own.
QChar vowelOf(QChar kana);

// A whole number written in ASCII digits, read the Japanese way
// (1200 -> センニヒャク). A number with a leading zero, or too long for
// the named powers of ten, is read digit by digit.
QString numberReading(QStringView digits);

// The Japanese name of a Latin letter (N -> エヌ); empty for anything else.
QString letterName(char32_t c);

// Makes a reading fit for the synthesiser, which speaks katakana and pauses
// at punctuation: long-vowel marks lengthen the kana before them (a second
// mark repeats its vowel, one after no kana is a pause), kana iteration
// marks repeat, symbols with a spoken name are read by it and the other
// symbols become pauses. `before` is the reading that precedes `text`.
QString speakable(const QString &text, QStringView before);

} // namespace KanaText
