#pragma once

#include "sound/EspeakSpeechEngine.h"
#include "sound/SpeechService.h"

// The speech of the real program: EspeakSpeechEngine, with its voice
// settings in the user's configuration folder, and VoiceDialog.
class EspeakSpeechService : public SpeechService
{
public:
    // `output` makes where the words go (the loudspeaker when not given).
    explicit EspeakSpeechService(EspeakSpeechEngine::OutputFactory output = {})
        : m_output(std::move(output))
    {
    }

    std::unique_ptr<SpeechEngine> createEngine() override;
    void showVoiceDialog(SpeechEngine &engine, QWidget *owner, const QString &title) override;

private:
    EspeakSpeechEngine::OutputFactory m_output;
};
