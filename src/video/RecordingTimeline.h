#pragma once

#include "video/MediaSink.h"

#include <QImage>

#include <functional>

class RecordingClock;
class SoundTimeline;

// Puts a recording together on its clock: as the time goes on, each frame
// is painted at the time it starts and the sound up to that time is mixed,
// so that a change and the sound placed with it at the same moment land in
// the same frame. It is the clock's waiter: a sound played to its end goes
// into the video frame by frame as it sounds.
class RecordingTimeline
{
public:
    // Paints what the program shows at the clock's time.
    using Painter = std::function<QImage()>;

    RecordingTimeline(const VideoFormat &format, RecordingClock &clock, SoundTimeline &sound, MediaSink &sink,
                      Painter paint);
    ~RecordingTimeline();
    RecordingTimeline(const RecordingTimeline &) = delete;
    RecordingTimeline &operator=(const RecordingTimeline &) = delete;

    // Paints and mixes every frame that starts before `ms`; the clock then
    // stands at `ms`. False once the sink has refused something; the clock
    // still moves on, so that what waits for it ends.
    bool runUntil(qint64 ms);
    // The sound to the end of the last frame; the video is then whole.
    bool finish();

    // Off: time goes on and the sound is mixed, but nothing reaches the
    // sink (the part of a run before the video begins). Switched between
    // frames, so that sound and pictures start together.
    void setRecording(bool recording) { m_recording = recording; }
    bool recording() const { return m_recording; }

    // Frames that have passed, and those that went into the video.
    qint64 frames() const { return m_frames; }
    qint64 recordedFrames() const { return m_recorded; }
    bool failed() const { return m_failed; }

private:
    bool pushSoundUntil(qint64 sample);

    VideoFormat m_format;
    RecordingClock &m_clock;
    SoundTimeline &m_sound;
    MediaSink &m_sink;
    Painter m_paint;
    qint64 m_frames = 0;
    qint64 m_recorded = 0;
    bool m_recording = true;
    bool m_failed = false;
};
