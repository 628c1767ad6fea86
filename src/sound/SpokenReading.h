#pragma once

#include "sound/KanaReader.h"
#include "sound/KanjiReadings.h"

#include <QList>
#include <QPair>
#include <QString>

#include <memory>

class MecabTagger;

// How the speech engine reads a text, for an author who checks readings
// before the files are written: the reading dictionary of an announcement
// folder with entries not yet written to it on top, read the engine's way.
class SpokenReading
{
public:
    // Null when MeCab cannot start.
    static std::unique_ptr<SpokenReading> create();
    ~SpokenReading();

    // The dictionary of `folder` (its yomi.txt over the built-in one) with
    // `pending` (written form, reading) over both.
    void setDictionary(const QString &folder, const QList<QPair<QString, QString>> &pending);

    // The katakana the engine speaks for `text`.
    QString reading(const QString &text) const { return m_reader.reading(text); }
    // `text` with the pending entries put in as katakana, so that an engine
    // that knows only the folder's dictionary speaks it as read here.
    QString withPending(const QString &text) const { return m_pending.apply(text); }

private:
    explicit SpokenReading(std::unique_ptr<MecabTagger> tagger);

    std::unique_ptr<MecabTagger> m_tagger;
    KanjiReadings m_kanji;
    KanaReader m_reader;
    ReadingDictionary m_pending;
};
