#include "EspeakSpeechService.h"

#include "sound/EspeakSpeechEngine.h"
#include "sound/VoiceDialog.h"

std::unique_ptr<SpeechEngine> EspeakSpeechService::createEngine()
{
    return EspeakSpeechEngine::create(VoiceSettings::defaultPath(), m_output);
}

void EspeakSpeechService::showVoiceDialog(SpeechEngine &engine, QWidget *owner, const QString &title)
{
    VoiceDialog dialog(engine, owner);
    dialog.setWindowTitle(title);
    dialog.exec();
}
