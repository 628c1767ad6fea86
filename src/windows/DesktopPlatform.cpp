#include "DesktopPlatform.h"

#include "sound/GstAudio.h"

DesktopPlatform::DesktopPlatform(const SettingsLocation *settings)
{
    m_services.settings = settings;
    m_services.companion = &m_companion;
    m_services.multimedia = &m_multimedia;
    m_services.chimes = &m_chimes;
    m_services.speech = &m_speech;
    // Without a sound device the program says so once, as it starts, rather
    // than at the first sound.
    if (!GstAudio::fakeSinkRequested()) {
        GstAudio::hasAudioDevice();
    }
}
