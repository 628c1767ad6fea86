#pragma once

#include "sound/KanaReader.h"
#include "sound/KanjiReadings.h"
#include "sound/SpeechEngine.h"

#include <functional>
#include <memory>

class EspeakSynth;
class MecabTagger;
class PcmPlayer;

// The program's speech: the text is read into katakana (reading dictionary,
// MeCab and the readings of single kanji), synthesised by espeak-ng's Japanese voice into memory and
// played on the engine's own GStreamer channel; an English line follows it
// in espeak-ng's English voice (see SpokenEnglish).
class EspeakSpeechEngine : public SpeechEngine
{
public:
    // Null when MeCab, espeak-ng or GStreamer cannot start. The voice
    // settings are read from and kept in `settingsPath`.
    static std::unique_ptr<EspeakSpeechEngine> create(const QString &settingsPath);
    ~EspeakSpeechEngine() override;

    bool speak(const QString &text) override;
    bool speakWithEnglish(const QString &text, const QString &english) override;
    void stop() override;
    bool isSpeaking() const override;
    VoiceSettings voiceSettings() const override { return m_voice; }
    void setVoiceSettings(const VoiceSettings &settings) override;
    void setDictionaryFolder(const QString &folder) override;

    // See PcmPlayer::setFirstSampleObserver.
    void setFirstSampleObserver(std::function<void()> observer);

private:
    EspeakSpeechEngine(std::unique_ptr<MecabTagger> tagger, std::unique_ptr<EspeakSynth> synth,
                       std::unique_ptr<PcmPlayer> player, const QString &settingsPath);

    std::unique_ptr<MecabTagger> m_tagger;
    std::unique_ptr<EspeakSynth> m_synth;
    std::unique_ptr<PcmPlayer> m_player;
    KanjiReadings m_kanji;
    KanaReader m_reader;
    QString m_settingsPath;
    VoiceSettings m_voice;
};
