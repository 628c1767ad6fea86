#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

// Readings that the general dictionary gets wrong, place names above all: a
// table of written form -> reading that is applied before the text is read.
//
// The file is plain text, one entry per line: the written form, a comma (or
// a tab), the reading in hiragana or katakana. Lines starting with "#" are
// comments; blank lines and lines without a reading are skipped, and so are
// entries whose written form is longer than MaxWrittenLength.
//
// The program carries a table of common bus words; the file "yomi.txt" in
// the announcement data folder adds to it and overrides it.
class ReadingDictionary
{
public:
    // Every place of a text is looked up at every length up to the longest
    // written form, so that length is kept to what a stop name needs.
    static constexpr qsizetype MaxWrittenLength = 32;
    // Far more than any table of readings takes; a larger file is refused
    // unread.
    static constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;

    // One line of the file as the table keeps it: the written form as it is
    // looked up and the reading in katakana; nothing for a comment, a blank
    // line or a line without both. The length limit is not applied here.
    static std::optional<std::pair<QString, QString>> parseEntry(QStringView line);
    // `tooLongLines`, when given, receives the (1-based) lines of entries
    // skipped for a written form longer than MaxWrittenLength.
    static ReadingDictionary parse(QStringView text, QList<qsizetype> *tooLongLines = nullptr);
    // A Shift_JIS file; a missing file gives an empty table. A file that is
    // too large gives an empty table too, and skipped entries are left out;
    // either is logged once.
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
