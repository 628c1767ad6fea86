#pragma once

#include <QString>

// Character-level conversions of Japanese text before and after reading it.
namespace KanaText {

// Full-width digits become ASCII digits and half-width katakana become
// full-width, so that the dictionaries see one spelling of each.
QString normalise(const QString &text);

// Hiragana become the katakana of the same sound; everything else stays.
QString toKatakana(const QString &text);

// Drops the kanji left in a reading: the synthesiser would spell them out
// by their character names.
QString withoutKanji(const QString &text);

} // namespace KanaText
