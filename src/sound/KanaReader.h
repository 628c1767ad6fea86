#pragma once

#include "sound/MecabTagger.h"
#include "sound/ReadingDictionary.h"

#include <QList>
#include <QSet>
#include <QString>

class KanjiReadings;

// Turns an announcement into the katakana that the synthesiser speaks:
// normalised letters, digits and half-width kana, the reading dictionary's
// entries, then MeCab's pronunciation of the rest. A word that MeCab does
// not know is read a character at a time (numbers as numbers, Latin letters
// by their names, kanji by their single readings), so that every character
// of the text is heard.
class KanaReader
{
public:
    KanaReader(const MecabTagger &tagger, const KanjiReadings &kanji);

    void setDictionary(const ReadingDictionary &dictionary) { m_dictionary = dictionary; }

    // The words of the text after the reading dictionary, each with the
    // katakana it is spoken as: never empty for a written character.
    QList<MecabTagger::Word> words(const QString &text) const;
    QString reading(const QString &text) const;

private:
    QString readUnknown(const QString &written) const;
    QString readKanji(char32_t kanji) const;

    const MecabTagger &m_tagger;
    const KanjiReadings &m_kanji;
    ReadingDictionary m_dictionary;
    // Kanji without any reading, logged once each.
    mutable QSet<char32_t> m_unread;
};
