#pragma once

#include <QString>

#include <functional>

class QTextStream;
class RecordingTimeline;
class RenderScript;
class VideoEncoder;

// Renders a video as fast as the machine can: the script drives the bus on
// the recording clock, frame after frame, and the encoder takes what the
// timeline paints and mixes. One line of progress a second goes to
// `progress`. The file is in place only when everything succeeded.
class OfflineRender
{
public:
    // A script that has not ended by then never will.
    static constexpr qint64 MaxVideoMs = qint64(24) * 3600 * 1000;

    OfflineRender(RecordingTimeline &timeline, VideoEncoder &encoder, QTextStream &progress);

    // Empty when the video is complete; otherwise why it is not (the
    // encoder's temporary is then gone). `interrupted` is asked between frames.
    QString run(RenderScript &script, const std::function<bool()> &interrupted);

private:
    void report(double progress, qint64 elapsedMs);

    RecordingTimeline &m_timeline;
    VideoEncoder &m_encoder;
    QTextStream &m_progress;
};
