#include "RecordingTimeline.h"

#include "video/RecordingClock.h"
#include "video/SoundTimeline.h"
#include "video/TimelineSound.h"

#include <algorithm>
#include <vector>

RecordingTimeline::RecordingTimeline(const VideoFormat &format, RecordingClock &clock, SoundTimeline &sound,
                                     MediaSink &sink, Painter paint)
    : m_format(format)
    , m_clock(clock)
    , m_sound(sound)
    , m_sink(sink)
    , m_paint(std::move(paint))
{
    m_clock.setWaiter([this](qint64 until) { runUntil(until); });
}

RecordingTimeline::~RecordingTimeline()
{
    m_clock.setWaiter({});
}

bool RecordingTimeline::pushSoundUntil(qint64 sample)
{
    // A frame's worth at a time keeps the buffers small.
    std::vector<qint16> buffer;
    while (!m_failed && m_sound.mixed() < sample) {
        const qsizetype count = qsizetype(std::min<qint64>(sample - m_sound.mixed(), VideoFormat::SampleRate / 10));
        buffer.resize(size_t(count));
        m_sound.mix(count, buffer.data());
        m_failed = m_recording && !m_sink.pushSamples(buffer.data(), count);
    }
    return !m_failed;
}

bool RecordingTimeline::runUntil(qint64 ms)
{
    while (!m_failed && m_format.frameStartMs(m_frames) < ms) {
        const qint64 start = m_format.frameStartMs(m_frames);
        m_clock.setNow(start);
        if (!pushSoundUntil(TimelineSound::sampleAt(start))) {
            break;
        }
        if (m_recording) {
            m_failed = !m_sink.pushFrame(m_paint());
            ++m_recorded;
        }
        ++m_frames;
    }
    m_clock.setNow(ms);
    return !m_failed;
}

bool RecordingTimeline::finish()
{
    return pushSoundUntil(std::max(m_sound.mixed(), m_format.samplesBefore(m_frames)));
}
