#pragma once

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

    // Each word's pronunciation ("トーキョー"), falling back to its reading
    // ("トウキョウ") and then to the word as written (numbers, unknown
    // words, punctuation). Spaces between words are kept as one space.
    QString pronunciation(const QString &text) const;

private:
    explicit MecabTagger(mecab_t *mecab);

    mecab_t *m_mecab;
};
