#pragma once

#include "video/RenderScript.h"

#include <QtGlobal>

class BusOperation;
class RecordingClock;
class SoundTimeline;

// Runs a route from its start to its end the way an operator pressing 送り
// would: the route is set (with its lamp test), then each announcement
// follows once the sounds of the one before have ended and a pause has
// passed; a route without announcements steps its data instead. The video
// ends after the last one has been said and the pause.
class AnnouncementScript : public RenderScript
{
public:
    static constexpr int PauseMs = 4000;

    // The pause is divided by `speed` (from 1): sounds are never shortened.
    AnnouncementScript(BusOperation &bus, const SoundTimeline &sound, const RecordingClock &clock, QString route,
                       QString section, int speed);

    QString start() override;
    void tick() override;
    bool finished() const override { return m_finished; }
    double progress() const override;

private:
    bool atEnd() const;

    BusOperation &m_bus;
    const SoundTimeline &m_sound;
    const RecordingClock &m_clock;
    QString m_route;
    QString m_section;
    qint64 m_pauseMs;
    qint64 m_quietSince = -1;
    int m_firstStop = 1;
    bool m_finished = false;
};
