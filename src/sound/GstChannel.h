#pragma once

#include "GstPtr.h"

#include <QObject>
#include <QString>

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

    // Blocks the calling thread until the sound has ended, for callers
    // without an event loop; others wait for the ended() signal.
    void waitForEnd();

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
