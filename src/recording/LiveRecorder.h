#pragma once

#include "video/MediaSink.h"
#include "video/RecordingClock.h"
#include "video/SoundTimeline.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class Form1;
class RecordingTimeline;
class SoundTap;
class VideoEncoder;

// Records what the display shows and what the program plays, as it
// happens, into a video file: the board as painted on screen (at the size
// it had when the recording began), and a copy of every sound and word.
// Stopping, or the recorder going, finishes the file.
class LiveRecorder : public QObject
{
    Q_OBJECT

public:
    static constexpr int Fps = 30;

    LiveRecorder(Form1 &display, SoundTap &tap, QObject *parent = nullptr);
    ~LiveRecorder() override;

    // Starts recording into `path`; false with the reason when it cannot
    // (a recording runs already, a wrong extension, an encoder missing).
    bool start(const QString &path, QString *error);
    // Finishes the file; empty when it is complete, otherwise why not.
    QString stop();
    bool isRecording() const { return m_encoder != nullptr; }
    QString path() const { return m_path; }

    // A file in the user's videos folder named by the date and the route,
    // "R57-2026-12-07-233512-系統12.mp4".
    static QString defaultPath(const QString &route);

signals:
    // Recording began or ended; `problem` says why a recording ended that
    // was not stopped, or why its file could not be finished.
    void recordingChanged(bool on, const QString &problem);

private:
    void catchUp();
    QImage paintBoard();
    QString finish();

    Form1 &m_display;
    SoundTap &m_tap;
    QString m_path;
    VideoFormat m_format;
    RecordingClock m_clock;
    SoundTimeline m_sound;
    QElapsedTimer m_started;
    std::unique_ptr<VideoEncoder> m_encoder;
    std::unique_ptr<RecordingTimeline> m_timeline;
    QTimer m_frames;
    QImage m_picture;
};
