#pragma once

#include "display/PlatformServices.h"
#include "companion/QtCompanion.h"
#include "sound/SoundChimePlayer.h"
#include "video/RecordingClock.h"
#include "video/SoundTimeline.h"
#include "video/TimelineSound.h"
#include "video/TimelineSpeech.h"

class SettingsLocation;

// The platform of a video render: the user's settings and Qt's dialogs as
// in a normal start, but every sound, chime and word goes into the
// recording's sound at the recording clock's time instead of the
// loudspeaker.
class RecordingPlatform
{
public:
    explicit RecordingPlatform(const SettingsLocation *settings = nullptr);
    const PlatformServices &services() const { return m_services; }

    RecordingClock &clock() { return m_clock; }
    SoundTimeline &sound() { return m_sound; }

private:
    RecordingClock m_clock;
    SoundTimeline m_sound;
    QtCompanion m_companion;
    TimelineSound m_multimedia{m_sound, m_clock};
    SoundChimePlayer m_chimes{m_multimedia};
    TimelineSpeechService m_speech{m_sound, m_clock};
    PlatformServices m_services;
};
