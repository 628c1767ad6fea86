#pragma once

#include "sound/MultimediaCommands.h"
#include "sound/PcmOutput.h"
#include "video/RecordingClock.h"

#include <QElapsedTimer>

#include <memory>
#include <set>

class SoundTimeline;
class TimelineSound;

// The program's sounds as they play, copied into a live recording while one
// runs: the sound channels' commands go to the player and, while a
// recording is attached, to the recording's sound at the time they are
// given; the words of the speech engine likewise. Without a recording the
// tap only passes everything on.
class SoundTap : public MultimediaCommands
{
public:
    explicit SoundTap(MultimediaCommands &player);
    ~SoundTap() override;

    int send(const QString &command) override;
    void sleep(int milliseconds) override;

    // An output for the speech engine: `player` as it is, with the words
    // copied while a recording is attached. Null when `player` is null.
    std::unique_ptr<PcmOutput> tapSpeech(std::unique_ptr<PcmOutput> player, int sampleRate);

    // From now on, copies go into `sound` at `clock`'s time, which the tap
    // moves on with the wall clock from `started` as sounds come. detach()
    // (or attaching another) stops the copies; both must outlive the
    // attachment.
    void attach(SoundTimeline &sound, RecordingClock &clock, QElapsedTimer started);
    void detach();
    bool attached() const { return m_sound != nullptr; }

private:
    class TappedSpeech;
    friend class TappedSpeech;

    // The recording's clock, brought to the wall clock's time.
    RecordingClock &now();

    MultimediaCommands &m_player;
    SoundTimeline *m_sound = nullptr;
    RecordingClock *m_clock = nullptr;
    QElapsedTimer m_started;
    std::unique_ptr<TimelineSound> m_copy;
    std::set<TappedSpeech *> m_speech;
};
