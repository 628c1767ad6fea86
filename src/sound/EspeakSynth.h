#pragma once

#include "sound/VoiceSettings.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <vector>

// The Japanese voice of espeak-ng (and its English one, for the English
// lines of announcements), synthesising into memory: 16-bit mono samples
// handed over piece by piece as they are made.
class EspeakSynth
{
public:
    using SampleSink = std::function<void(const qint16 *samples, int count)>;
    enum class Language { Japanese, English };

    // Null when espeak-ng or its Japanese voice cannot start. espeak-ng is
    // one per process: every synthesiser shares it, from one thread.
    static std::unique_ptr<EspeakSynth> create();

    int sampleRate() const { return m_sampleRate; }
    void setVoice(const VoiceSettings &settings) { m_voice = settings.clamped(); }

    // Speaks katakana text (or English text with the English voice) into
    // `sink`; false when espeak-ng refused it or lacks the voice.
    bool synthesise(const QString &kana, const SampleSink &sink, Language language = Language::Japanese) const;
    // The whole text at once; nothing when espeak-ng refused it.
    std::vector<qint16> synthesise(const QString &kana, Language language = Language::Japanese) const;

private:
    explicit EspeakSynth(int sampleRate);

    int m_sampleRate;
    VoiceSettings m_voice;
};
