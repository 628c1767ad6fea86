#include "TimelineSound.h"

#include "sound/CommandString.h"
#include "sound/SoundLog.h"
#include "video/MediaSink.h"
#include "video/RecordingClock.h"
#include "video/SoundDecoder.h"

TimelineSound::TimelineSound(SoundTimeline &timeline, RecordingClock &clock, Waits waits)
    : m_timeline(timeline)
    , m_clock(clock)
    , m_waits(waits)
{
}

qint64 TimelineSound::sampleAt(qint64 ms)
{
    return ms * VideoFormat::SampleRate / 1000;
}

qint64 TimelineSound::msOf(qint64 samples)
{
    return (samples * 1000 + VideoFormat::SampleRate - 1) / VideoFormat::SampleRate;
}

int TimelineSound::send(const QString &text)
{
    const std::optional<CommandString> command = CommandString::parse(text);
    if (!command) {
        return 1;
    }
    const QString alias = command->verb == QLatin1String("open") ? command->values.value(QStringLiteral("alias"))
                                                                 : command->device;
    const QString channel = alias.toLower();
    if (command->verb == QLatin1String("open")) {
        const QString &path = command->device;
        if (!m_decoded.contains(path) && !m_failed.contains(path)) {
            QString error;
            if (SoundTimeline::Samples samples = SoundDecoder::decodeFile(path, &error)) {
                m_decoded.insert(path, std::move(samples));
            } else {
                m_failed.insert(path, error);
                qCWarning(lcSound).noquote() << error;
            }
        }
        if (!m_decoded.contains(path)) {
            return 3;
        }
        m_timeline.cut(channel, sampleAt(m_clock.nowMs()));
        m_open.insert(channel, m_decoded.value(path));
        return 0;
    }
    if (!m_open.contains(channel)) {
        return 2;
    }
    if (command->verb == QLatin1String("play")) {
        const qint64 start = sampleAt(m_clock.nowMs());
        const qint64 end = m_timeline.place(channel, start, m_open.value(channel));
        if (command->wait && m_waits == Waits::MoveClock) {
            m_clock.wait(msOf(end) - m_clock.nowMs());
        }
        return 0;
    }
    if (command->verb == QLatin1String("stop") || command->verb == QLatin1String("close")) {
        m_timeline.cut(channel, sampleAt(m_clock.nowMs()));
        if (command->verb == QLatin1String("close")) {
            m_open.remove(channel);
        }
        return 0;
    }
    return 1;
}

void TimelineSound::sleep(int milliseconds)
{
    if (m_waits == Waits::MoveClock) {
        m_clock.wait(milliseconds);
    }
}
