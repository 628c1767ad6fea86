#pragma once

#include <QImage>
#include <QSize>
#include <QtGlobal>

// The shape of a video: picture size, frames a second, and the sound, which
// is always 16-bit mono at SampleRate.
struct VideoFormat
{
    static constexpr int SampleRate = 48000;
    // The display at 200 %.
    static constexpr QSize DefaultSize{1842, 614};
    static constexpr int DefaultFps = 30;
    static constexpr int MaxFps = 120;
    static constexpr int MaxSide = 7680;

    QSize size = DefaultSize;
    int fps = DefaultFps;

    // When frame `frame` is shown, in milliseconds from the start (rounded
    // down, so that a change at a whole millisecond falls in the frame that
    // first shows it).
    qint64 frameStartMs(qint64 frame) const { return frame * 1000 / fps; }
    // The first frame shown at or after `ms`.
    qint64 firstFrameAtOrAfter(qint64 ms) const { return (ms * fps + 999) / 1000; }
    // The sound's samples that go with frames [0, frame): they end where
    // the frame starts, to the sample.
    qint64 samplesBefore(qint64 frame) const { return frame * SampleRate / fps; }
};

// Where the pictures and the sound of a video go, in order: frame after
// frame, and the samples that go with each.
class MediaSink
{
public:
    virtual ~MediaSink() = default;
    // The next frame; any QImage, converted as needed, of the format's size.
    virtual bool pushFrame(const QImage &frame) = 0;
    // The next samples of the sound.
    virtual bool pushSamples(const qint16 *samples, qsizetype count) = 0;
};
