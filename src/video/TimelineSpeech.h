#pragma once

#include "sound/PcmOutput.h"
#include "sound/SpeechService.h"

#include <vector>

class RecordingClock;
class SoundTimeline;

// Speech in a recording: the samples espeak-ng makes for an announcement are
// placed on the recording's speech channel at the clock's time, and the
// speech lasts, for whoever asks, until the clock has passed its end.
class TimelineSpeechOutput : public PcmOutput
{
public:
    static constexpr const char *Channel = "speech";

    TimelineSpeechOutput(SoundTimeline &timeline, const RecordingClock &clock, int sampleRate);

    void start() override;
    void push(const qint16 *samples, int count) override;
    void finish() override;
    void stop() override;
    bool isPlaying() const override;

private:
    SoundTimeline &m_timeline;
    const RecordingClock &m_clock;
    int m_sampleRate;
    qint64 m_startMs = 0; // the words sound from the moment they were begun
    std::vector<qint16> m_utterance;
};

// The program's speech engine, with the user's voice settings, speaking into
// a recording.
class TimelineSpeechService : public SpeechService
{
public:
    TimelineSpeechService(SoundTimeline &timeline, const RecordingClock &clock);
    std::unique_ptr<SpeechEngine> createEngine() override;
    // A recording asks nobody anything.
    void showVoiceDialog(SpeechEngine &, QWidget *, const QString &) override {}

private:
    SoundTimeline &m_timeline;
    const RecordingClock &m_clock;
};
