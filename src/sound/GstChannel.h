#pragma once

#include <gst/gst.h>

#include <QObject>
#include <QString>

#include <condition_variable>
#include <mutex>

// One sound channel: a GStreamer playbin, audio only, with one file open.
// Lives on the thread that created it; GStreamer reports the end of the
// sound from its own threads.
class GstChannel : public QObject
{
    Q_OBJECT

public:
    // Opens `path` and prerolls it. isOpen() tells whether the file could be
    // opened and decoded.
    explicit GstChannel(const QString &path);
    ~GstChannel() override;

    bool isOpen() const { return m_playbin != nullptr; }

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
    // The sound has ended, failed or was stopped.
    void ended();

private:
    static GstBusSyncReply onBusMessage(GstBus *bus, GstMessage *message, gpointer self);
    static void onElementSetup(GstElement *playbin, GstElement *element, gpointer self);
    void markEnded();
    void release();

    GstElement *m_playbin = nullptr;
    mutable std::mutex m_mutex;
    std::condition_variable m_endedChanged;
    bool m_playing = false;
};
