#pragma once

#include <QHash>
#include <QString>

// Readings that the general dictionary gets wrong, place names above all: a
// table of written form -> reading that is applied before the text is read.
//
// The file is plain text, one entry per line: the written form, a comma (or
// a tab), the reading in hiragana or katakana. Lines starting with "#" are
// comments; blank lines and lines without a reading are skipped.
//
// The program carries a table of common bus words; the file "yomi.txt" in
// the announcement data folder adds to it and overrides it.
class ReadingDictionary
{
public:
    static ReadingDictionary parse(const QString &text);
    // A Shift_JIS file; a missing file gives an empty table.
    static ReadingDictionary load(const QString &path);
    // The built-in table, with the entries of `folder`/yomi.txt on top.
    static ReadingDictionary forFolder(const QString &folder);
    static QString fileName() { return QStringLiteral("yomi.txt"); }

    // The entries of `overrides` replace those of the same written form.
    void merge(const ReadingDictionary &overrides);

    // Replaces, from left to right, the longest written form found at each
    // place by its reading in katakana.
    QString apply(const QString &text) const;

    qsizetype size() const { return m_readings.size(); }

private:
    QHash<QString, QString> m_readings;
    qsizetype m_longest = 0;
};
