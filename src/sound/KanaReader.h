#pragma once

#include "sound/ReadingDictionary.h"

#include <QString>

class MecabTagger;

// Turns an announcement into the katakana that the synthesiser speaks:
// normalised digits and half-width kana, the reading dictionary's entries,
// then MeCab's pronunciation of the rest.
class KanaReader
{
public:
    explicit KanaReader(const MecabTagger &tagger);

    void setDictionary(const ReadingDictionary &dictionary) { m_dictionary = dictionary; }

    QString reading(const QString &text) const;

private:
    const MecabTagger &m_tagger;
    ReadingDictionary m_dictionary;
};
