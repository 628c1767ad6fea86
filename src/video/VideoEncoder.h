#pragma once

#include "app/FileReplacement.h"
#include "sound/GstPtr.h"
#include "video/MediaSink.h"

#include <QString>

#include <memory>

// Encodes pictures and sound into a video file through one GStreamer
// pipeline: the frames and the samples enter through two application
// sources, are encoded and muxed, and go to a file beside the one asked for.
// The container follows the file's extension:
//   .mp4  H.264 and AAC
//   .webm VP9 and Opus
//   .mkv  H.264 and Opus
// Only finish() puts the file in place, replacing what was there; an
// encoder dropped unfinished, or one that failed, leaves nothing behind.
class VideoEncoder : public MediaSink
{
public:
    // Null with the reason in `error` when the extension names no
    // container, a link or a folder is where the file goes, the folder
    // cannot take a new file, or an encoder is missing.
    static std::unique_ptr<VideoEncoder> open(const QString &path, const VideoFormat &format, QString *error);
    ~VideoEncoder() override;
    VideoEncoder(const VideoEncoder &) = delete;
    VideoEncoder &operator=(const VideoEncoder &) = delete;

    // What the extension of `path` gives ("H.264 + AAC (MP4)"); empty with
    // the reason in `error` when it gives nothing.
    static QString containerFor(const QString &path, QString *error = nullptr);

    // False once the pipeline has failed (errorString() says why); what is
    // pushed after that is dropped.
    bool pushFrame(const QImage &frame) override;
    bool pushSamples(const qint16 *samples, qsizetype count) override;

    // Ends the streams, waits for the file to be complete and puts it in
    // place. False with the reason when it cannot; the temporary is gone.
    bool finish();

    const VideoFormat &format() const { return m_format; }
    qint64 framesPushed() const { return m_frames; }
    QString errorString() const { return m_error; }

private:
    VideoEncoder(const QString &path, const VideoFormat &format);
    bool start(const QString &pipelineText);
    // Waits while `source` holds more than it should, watching for errors.
    bool waitForRoom(GstElement *source);
    bool push(GstElement *source, GstBuffer *buffer);
    // Takes the pipeline's error, if one came; false when one did.
    bool checkBus();
    // Takes the pipeline's error message (and its reference); false.
    bool failWith(GstMessage *message);
    bool fail(const QString &reason);
    void stop();

    QString m_path;
    VideoFormat m_format;
    FileReplacement m_replacement;
    QString m_temporary;
    GstObjectPtr<GstElement> m_pipeline;
    GstObjectPtr<GstBus> m_bus;
    GstElement *m_video = nullptr; // held by m_pipeline
    GstElement *m_audio = nullptr;
    qint64 m_frames = 0;
    qint64 m_samples = 0;
    bool m_failed = false;
    bool m_finished = false;
    QString m_error;
};
