#pragma once

#include "display/PlatformServices.h"
#include "companion/QtCompanion.h"
#include "sound/EspeakSpeechService.h"
#include "sound/GstCommandInterpreter.h"
#include "sound/SoundChimePlayer.h"

class SettingsLocation;

// The real platform services of the program, built once in main(): Qt's
// dialogs, sound through GStreamer, and speech through MeCab and espeak-ng.
class DesktopPlatform
{
public:
    // `settings`: where the program keeps its settings file; null for none.
    explicit DesktopPlatform(const SettingsLocation *settings = nullptr);
    const PlatformServices &services() const { return m_services; }

private:
    QtCompanion m_companion;
    GstCommandInterpreter m_multimedia;
    SoundChimePlayer m_chimes{m_multimedia};
    EspeakSpeechService m_speech;
    PlatformServices m_services;
};
