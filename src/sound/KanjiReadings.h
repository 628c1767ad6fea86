#pragma once

#include <QHash>
#include <QString>

// One reading for each single kanji, from KANJIDIC (Debian's package
// "kanjidic"): the reader falls back on it for a word that MeCab does not
// know, so that no kanji of an announcement goes unspoken. The first on
// reading is taken, as a compound of unknown kanji is most often read by
// them; a kanji without one (畑, 峠) gets its first kun reading.
class KanjiReadings
{
public:
    // KANJIDIC's text: one kanji a line, its fields separated by spaces.
    static KanjiReadings parse(const QString &text);
    // The EUC-JP file as Debian installs it; a missing file gives an empty
    // table and says so in the log.
    static KanjiReadings load(const QString &path = defaultPath());
    static QString defaultPath() { return QStringLiteral("/usr/share/edict/kanjidic"); }

    // The reading in katakana; empty when the kanji is not in the table.
    QString reading(char32_t kanji) const { return m_readings.value(kanji); }
    qsizetype size() const { return m_readings.size(); }

private:
    QHash<char32_t, QString> m_readings;
};
