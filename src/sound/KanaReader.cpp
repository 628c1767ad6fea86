#include "KanaReader.h"

#include "sound/KanaText.h"
#include "sound/MecabTagger.h"

KanaReader::KanaReader(const MecabTagger &tagger)
    : m_tagger(tagger)
{
}

QString KanaReader::reading(const QString &text) const
{
    // The dictionary's readings go in as katakana: MeCab leaves katakana it
    // does not know as written, yet still reads the particles around them
    // ("は" after a stop name is spoken "ワ").
    const QString corrected = m_dictionary.apply(KanaText::normalise(text));
    return KanaText::withoutKanji(KanaText::toKatakana(m_tagger.pronunciation(corrected)));
}
