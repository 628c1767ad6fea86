#include "RecordingPlatform.h"

RecordingPlatform::RecordingPlatform(const SettingsLocation *settings)
{
    m_services.settings = settings;
    m_services.companion = &m_companion;
    m_services.multimedia = &m_multimedia;
    m_services.chimes = &m_chimes;
    m_services.speech = &m_speech;
}
