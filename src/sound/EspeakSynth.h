#pragma once

#include "sound/VoiceSettings.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <vector>

// The Japanese voice of espeak-ng, synthesising into memory: 16-bit mono
// samples handed over piece by piece as they are made.
class EspeakSynth
{
public:
    using SampleSink = std::function<void(const qint16 *samples, int count)>;

    // Null when espeak-ng or its Japanese voice cannot start. espeak-ng is
    // one per process: every synthesiser shares it, from one thread.
    static std::unique_ptr<EspeakSynth> create();

    int sampleRate() const { return m_sampleRate; }
    void setVoice(const VoiceSettings &settings) { m_voice = settings.clamped(); }

    // Speaks katakana text into `sink`; false when espeak-ng refused it.
    bool synthesise(const QString &kana, const SampleSink &sink) const;
    // The whole text at once; nothing when espeak-ng refused it.
    std::vector<qint16> synthesise(const QString &kana) const;

private:
    explicit EspeakSynth(int sampleRate);

    int m_sampleRate;
    VoiceSettings m_voice;
};
