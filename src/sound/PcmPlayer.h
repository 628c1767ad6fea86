#pragma once

#include "sound/GstPtr.h"
#include "sound/PcmOutput.h"

#include <QtGlobal>

#include <atomic>
#include <functional>
#include <memory>

// Plays 16-bit mono samples from memory through GStreamer, on a pipeline of
// its own (appsrc -> convert -> resample -> the program's audio sink). One
// utterance at a time: start() cuts off what was playing.
class PcmPlayer : public PcmOutput
{
public:
    // Null when GStreamer or one of the elements is missing.
    static std::unique_ptr<PcmPlayer> create(int sampleRate);
    ~PcmPlayer() override;
    PcmPlayer(const PcmPlayer &) = delete;
    PcmPlayer &operator=(const PcmPlayer &) = delete;

    // Begins a new utterance: push() its samples, then finish().
    void start() override;
    void push(const qint16 *samples, int count) override;
    void finish() override;
    void stop() override;
    // From start() until the last sample has been played or stop().
    bool isPlaying() const override { return m_playing; }

    // Called on GStreamer's streaming thread when the first sample of an
    // utterance reaches the audio output. For measuring.
    void setFirstSampleObserver(std::function<void()> observer);

private:
    // GStreamer's callbacks, with the signatures its headers declare.
    friend struct PcmPlayerCallbacks;

    PcmPlayer(GstObjectPtr<GstElement> pipeline, GstElement *source, int sampleRate);

    GstObjectPtr<GstElement> m_pipeline;
    GstElement *m_source; // held by m_pipeline
    int m_sampleRate;
    quint64 m_samplesPushed = 0;
    std::atomic<bool> m_playing = false;
    std::atomic<bool> m_firstSampleSeen = false;
    std::function<void()> m_firstSampleObserver;
};
