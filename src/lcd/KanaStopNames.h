#pragma once

#include "sound/ReadingDictionary.h"

#include <QMap>
#include <QString>

// A stop's name and its kana as the running bus already knows them: the
// name from the fare data and its reading from the announcement folder's
// reading dictionary (yomi.txt over the built-in one), as the speech reads
// it. The kana is given only when the dictionary reads the whole name.
class KanaStopNames
{
public:
    // Reads the dictionary of `folder` (empty: the working folder) afresh:
    // a route set may come with a new yomi.txt.
    void load(const QString &folder);
    void setDictionary(const ReadingDictionary &dictionary) { m_dictionary = dictionary; }

    // {"ja": name, "kana": its reading in hiragana}; no "kana" when some of
    // the name stays unread or the name is kana already.
    QMap<QString, QString> names(const QString &name) const;

private:
    ReadingDictionary m_dictionary;
};
