#include "EspeakSynth.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>

namespace {

// Length of the pieces espeak-ng hands over, in milliseconds: short, so that
// the first one is ready soon.
constexpr int PieceMs = 50;

// espeak-ng's sample rate, or 0 when it cannot start; started once.
int startEspeak()
{
    static const int sampleRate = [] {
        const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, PieceMs, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (rate <= 0 || espeak_SetVoiceByName("ja") != EE_OK) {
            return 0;
        }
        return rate;
    }();
    return sampleRate;
}

int receiveSamples(short *samples, int count, espeak_EVENT *events)
{
    if (samples && count > 0 && events) {
        const auto &sink = *static_cast<const EspeakSynth::SampleSink *>(events->user_data);
        sink(samples, count);
    }
    return 0; // go on
}

// Percent of normal (VoiceSettings) to espeak-ng's scales.
int scaled(int normal, int percent, int low, int high)
{
    return std::clamp(normal * percent / 100, low, high);
}

} // namespace

std::unique_ptr<EspeakSynth> EspeakSynth::create()
{
    const int sampleRate = startEspeak();
    return sampleRate > 0 ? std::unique_ptr<EspeakSynth>(new EspeakSynth(sampleRate)) : nullptr;
}

EspeakSynth::EspeakSynth(int sampleRate)
    : m_sampleRate(sampleRate)
{
}

bool EspeakSynth::synthesise(const QString &kana, const SampleSink &sink, Language language) const
{
    // One voice at a time in the library: the one asked for, each time.
    if (espeak_SetVoiceByName(language == Language::English ? "en" : "ja") != EE_OK) {
        return false;
    }
    // The settings are the library's, not this object's: set them each time.
    espeak_SetParameter(espeakRATE, scaled(espeakRATE_NORMAL, m_voice.rate, espeakRATE_MINIMUM, espeakRATE_MAXIMUM), 0);
    espeak_SetParameter(espeakPITCH, scaled(50, m_voice.pitch, 0, 100), 0);
    espeak_SetParameter(espeakVOLUME, scaled(100, m_voice.volume, 0, 200), 0);
    espeak_SetSynthCallback(receiveSamples);

    const QByteArray utf8 = kana.toUtf8();
    const espeak_ERROR result = espeak_Synth(utf8.constData(), static_cast<size_t>(utf8.size()) + 1, 0, POS_CHARACTER,
                                             0, espeakCHARS_UTF8, nullptr, const_cast<SampleSink *>(&sink));
    return result == EE_OK;
}

std::vector<qint16> EspeakSynth::synthesise(const QString &kana, Language language) const
{
    std::vector<qint16> all;
    const bool accepted = synthesise(
        kana, [&all](const qint16 *samples, int count) { all.insert(all.end(), samples, samples + count); }, language);
    return accepted ? all : std::vector<qint16>{};
}
