#pragma once

#include "sound/SpeechService.h"

// The speech of the real program: EspeakSpeechEngine, with its voice
// settings in the user's configuration folder, and VoiceDialog.
class EspeakSpeechService : public SpeechService
{
public:
    std::unique_ptr<SpeechEngine> createEngine() override;
    void showVoiceDialog(SpeechEngine &engine, QWidget *owner, const QString &title) override;
};
