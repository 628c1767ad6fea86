#pragma once

#include "sound/MultimediaCommands.h"
#include "video/SoundTimeline.h"

#include <QHash>
#include <QString>

class RecordingClock;

// The program's sound channels in a recording: the multimedia command
// strings that would play a file place its decoded samples in the
// recording's sound at the clock's time instead, each alias on a channel of
// its own. A waited play, and a sleep, move the clock on by their length.
class TimelineSound : public MultimediaCommands
{
public:
    // Whether a waited play and a sleep move the clock on: yes when the
    // recording makes its own time; no when it copies sounds that a player
    // plays (and waits for) in real time.
    enum class Waits { MoveClock, Ignore };

    TimelineSound(SoundTimeline &timeline, RecordingClock &clock, Waits waits = Waits::MoveClock);

    // 0, or the error numbers of the player: 1 unknown command, 2 unknown
    // alias, 3 a file that cannot be decoded (logged once per file).
    int send(const QString &command) override;
    void sleep(int milliseconds) override;

    // The sample position of a time on the clock.
    static qint64 sampleAt(qint64 ms);
    static qint64 msOf(qint64 samples);

private:
    SoundTimeline &m_timeline;
    RecordingClock &m_clock;
    Waits m_waits;
    // Decoded once, whatever alias opens them.
    QHash<QString, SoundTimeline::Samples> m_decoded;
    QHash<QString, QString> m_failed;
    QHash<QString, SoundTimeline::Samples> m_open; // by alias, lower case
};
