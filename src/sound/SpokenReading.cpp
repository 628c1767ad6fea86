#include "SpokenReading.h"

#include "sound/MecabTagger.h"

std::unique_ptr<SpokenReading> SpokenReading::create()
{
    std::unique_ptr<MecabTagger> tagger = MecabTagger::create();
    if (!tagger) {
        return nullptr;
    }
    return std::unique_ptr<SpokenReading>(new SpokenReading(std::move(tagger)));
}

SpokenReading::SpokenReading(std::unique_ptr<MecabTagger> tagger)
    : m_tagger(std::move(tagger))
    , m_kanji(KanjiReadings::load())
    , m_reader(*m_tagger, m_kanji)
{
    m_reader.setDictionary(ReadingDictionary::forFolder(QString()));
}

SpokenReading::~SpokenReading() = default;

void SpokenReading::setDictionary(const QString &folder, const QList<QPair<QString, QString>> &pending)
{
    QString lines;
    for (const auto &[written, reading] : pending) {
        lines += written + QLatin1Char(',') + reading + QLatin1Char('\n');
    }
    m_pending = ReadingDictionary::parse(lines);
    ReadingDictionary dictionary = ReadingDictionary::forFolder(folder);
    dictionary.merge(m_pending);
    m_reader.setDictionary(dictionary);
}
