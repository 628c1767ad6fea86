#pragma once

#include <QList>
#include <QString>

#include <memory>

struct mecab_t;

// Japanese morphological analysis with MeCab and its IPA dictionary: gives
// the katakana pronunciation of a text with kanji.
class MecabTagger
{
public:
    // Null when MeCab or a UTF-8 IPA dictionary cannot be found.
    static std::unique_ptr<MecabTagger> create();
    ~MecabTagger();
    MecabTagger(const MecabTagger &) = delete;
    MecabTagger &operator=(const MecabTagger &) = delete;

    struct Word {
        QString written;
        // The pronunciation ("トーキョー"), else the reading ("トウキョウ");
        // empty for a word that the dictionary does not know (numbers,
        // Latin letters, rare kanji). Symbols are "read" as written.
        QString spoken;
        // White space stood before the word.
        bool spaced = false;
        // A counter after a number (本, 回, 丁目).
        bool counter = false;
    };

    // The words of `text` in order; their written forms together are the
    // text without its white space.
    QList<Word> words(const QString &text) const;

private:
    explicit MecabTagger(mecab_t *mecab);

    mecab_t *m_mecab;
};
