#include "DesktopPlatform.h"

#include "sound/GstAudio.h"
#include "sound/PcmPlayer.h"

DesktopPlatform::DesktopPlatform(const SettingsLocation *settings, SideSettingsStore *side)
    : m_speech([this](int sampleRate) { return m_tap.tapSpeech(PcmPlayer::create(sampleRate), sampleRate); })
{
    m_services.settings = settings;
    m_services.side = side;
    m_services.companion = &m_companion;
    m_services.multimedia = &m_tap;
    m_services.chimes = &m_chimes;
    m_services.speech = &m_speech;
    // Without a sound device the program says so once, as it starts, rather
    // than at the first sound.
    if (!GstAudio::fakeSinkRequested()) {
        GstAudio::hasAudioDevice();
    }
}
