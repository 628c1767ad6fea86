#pragma once

#include "GstPtr.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

// One sound channel: a GStreamer pipeline that decodes one file's sound.
// Lives on the thread that created it, which it never holds up for long:
// GStreamer reports the end of the sound from its own threads, and closing
// the channel lets the pipeline wind down on one of those.
class GstChannel : public QObject
{
    Q_OBJECT

public:
    // Opens `path` and waits until it is known to play: prerolled, or, for
    // MIDI, its synthesiser found (the synthesiser goes on loading its
    // SoundFont behind). isOpen() tells whether the file could be opened.
    explicit GstChannel(const QString &path);
    ~GstChannel() override;

    bool isOpen() const { return m_pipeline != nullptr; }

    // Plays from the beginning and returns at once; false when it cannot.
    bool playFromStart();

    // Stops where the sound is, and releases anybody waiting for its end.
    void stop();

    // True from a play until the sound ends, fails or is stopped.
    bool isPlaying() const;

    // How often a caller waiting for the end of a play asks hasStalled().
    static constexpr std::chrono::milliseconds StallCheckInterval{500};

    // Whether a play that has been waited for `waited` has stalled (a
    // suspended audio output, say): it has neither ended nor failed within
    // the sound's length and a margin, or a fixed cap while the length is
    // unknown. The length is asked afresh each time: a MIDI file tells it
    // only once its synthesiser runs.
    bool hasStalled(std::chrono::milliseconds waited) const;

    // Gives up on a play that has not ended after `waited`: says so once in
    // the log and releases anybody waiting, as its end would. The sound
    // itself is left alone, to finish or be closed. False when the play had
    // ended after all.
    bool giveUp(std::chrono::milliseconds waited);

    // Blocks the calling thread until the sound has ended, for callers
    // without an event loop; others wait for the ended() signal. Gives up
    // on a play that has stalled: false then.
    bool waitForEnd();

signals:
    // The latest play has ended, failed or was stopped. The end of an
    // earlier play is never reported once another has begun.
    void ended();

private:
    // What the channel shares with GStreamer's threads; it lives as long as
    // the last of them may still use it.
    struct Shared;

    static GstBusSyncReply onBusMessage(GstBus *bus, GstMessage *message, gpointer shared);
    static void onElementAdded(GstBin *pipeline, GstBin *bin, GstElement *element, gpointer shared);
    void reportEnd(quint64 play);
    void release();

    std::shared_ptr<Shared> m_shared;
    GstObjectPtr<GstElement> m_pipeline;
    // Whether a play has moved the position away from the start.
    bool m_played = false;
};
