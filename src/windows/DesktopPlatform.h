#pragma once

#include "display/PlatformServices.h"
#include "companion/QtCompanion.h"
#include "sound/EspeakSpeechService.h"
#include "sound/GstCommandInterpreter.h"
#include "sound/SoundChimePlayer.h"
#include "video/SoundTap.h"

class SettingsLocation;
class SideSettingsStore;

// The real platform services of the program, built once in main(): Qt's
// dialogs, sound through GStreamer, and speech through MeCab and espeak-ng.
class DesktopPlatform
{
public:
    // `settings`: where the program keeps its settings file; null for none.
    // `side`: the side settings of the run; null: the display makes its own.
    explicit DesktopPlatform(const SettingsLocation *settings = nullptr, SideSettingsStore *side = nullptr);
    const PlatformServices &services() const { return m_services; }
    // Every sound and word on its way out, for a live recording.
    SoundTap &soundTap() { return m_tap; }

private:
    QtCompanion m_companion;
    GstCommandInterpreter m_multimedia;
    SoundTap m_tap{m_multimedia};
    SoundChimePlayer m_chimes{m_tap};
    EspeakSpeechService m_speech;
    PlatformServices m_services;
};
