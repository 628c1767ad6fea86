#include "EspeakSpeechEngine.h"

#include "sound/EspeakSynth.h"
#include "sound/MecabTagger.h"
#include "sound/PcmPlayer.h"
#include "sound/SpokenEnglish.h"

#include <vector>

namespace {

// The pause between an announcement and its English line.
constexpr int EnglishPauseMs = 600;

} // namespace

std::unique_ptr<EspeakSpeechEngine> EspeakSpeechEngine::create(const QString &settingsPath)
{
    std::unique_ptr<MecabTagger> tagger = MecabTagger::create();
    std::unique_ptr<EspeakSynth> synth = EspeakSynth::create();
    std::unique_ptr<PcmPlayer> player = synth ? PcmPlayer::create(synth->sampleRate()) : nullptr;
    if (!tagger || !synth || !player) {
        return nullptr;
    }
    return std::unique_ptr<EspeakSpeechEngine>(
        new EspeakSpeechEngine(std::move(tagger), std::move(synth), std::move(player), settingsPath));
}

EspeakSpeechEngine::EspeakSpeechEngine(std::unique_ptr<MecabTagger> tagger, std::unique_ptr<EspeakSynth> synth,
                                       std::unique_ptr<PcmPlayer> player, const QString &settingsPath)
    : m_tagger(std::move(tagger))
    , m_synth(std::move(synth))
    , m_player(std::move(player))
    , m_kanji(KanjiReadings::load())
    , m_reader(*m_tagger, m_kanji)
    , m_settingsPath(settingsPath)
    , m_voice(VoiceSettings::load(settingsPath))
{
    m_synth->setVoice(m_voice);
    m_reader.setDictionary(ReadingDictionary::forFolder(QString()));
}

EspeakSpeechEngine::~EspeakSpeechEngine() = default;

bool EspeakSpeechEngine::speak(const QString &text)
{
    return speakWithEnglish(text, QString());
}

bool EspeakSpeechEngine::speakWithEnglish(const QString &text, const QString &english)
{
    m_player->stop();
    const QString kana = m_reader.reading(text);
    const bool withEnglish = !english.trimmed().isEmpty();
    if (kana.trimmed().isEmpty() && !withEnglish) {
        return true; // nothing to say
    }
    // The samples go to the player as espeak-ng makes them, so the first of
    // them sounds while the rest is still being synthesised.
    m_player->start();
    const auto push = [this](const qint16 *samples, int count) { m_player->push(samples, count); };
    bool synthesised = kana.trimmed().isEmpty() || m_synth->synthesise(kana, push);
    if (synthesised && withEnglish) {
        const std::vector<qint16> pause(static_cast<size_t>(m_synth->sampleRate()) * EnglishPauseMs / 1000, 0);
        push(pause.data(), static_cast<int>(pause.size()));
        synthesised = SpokenEnglish::synthesise(english, *m_synth, m_reader, push);
    }
    m_player->finish();
    return synthesised;
}

void EspeakSpeechEngine::stop()
{
    m_player->stop();
}

bool EspeakSpeechEngine::isSpeaking() const
{
    return m_player->isPlaying();
}

void EspeakSpeechEngine::setVoiceSettings(const VoiceSettings &settings)
{
    m_voice = settings.clamped();
    m_synth->setVoice(m_voice);
    m_voice.save(m_settingsPath);
}

void EspeakSpeechEngine::setDictionaryFolder(const QString &folder)
{
    m_reader.setDictionary(ReadingDictionary::forFolder(folder));
}

void EspeakSpeechEngine::setFirstSampleObserver(std::function<void()> observer)
{
    m_player->setFirstSampleObserver(std::move(observer));
}
