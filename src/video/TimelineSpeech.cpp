#include "TimelineSpeech.h"

#include "sound/EspeakSpeechEngine.h"
#include "sound/SoundLog.h"
#include "video/RecordingClock.h"
#include "video/SoundDecoder.h"
#include "video/SoundTimeline.h"
#include "video/TimelineSound.h"

#include <algorithm>

namespace {
// The longest utterance kept: longer text is cut off here rather than
// filling the memory.
constexpr qsizetype MaxSeconds = SoundDecoder::MaxSeconds;
} // namespace

TimelineSpeechOutput::TimelineSpeechOutput(SoundTimeline &timeline, const RecordingClock &clock, int sampleRate)
    : m_timeline(timeline)
    , m_clock(clock)
    , m_sampleRate(sampleRate)
{
}

void TimelineSpeechOutput::start()
{
    stop();
    m_utterance.clear();
    m_startMs = m_clock.nowMs();
}

void TimelineSpeechOutput::push(const qint16 *samples, int count)
{
    const qsizetype room = MaxSeconds * m_sampleRate - qsizetype(m_utterance.size());
    m_utterance.insert(m_utterance.end(), samples, samples + std::clamp<qsizetype>(count, 0, std::max<qsizetype>(room, 0)));
}

void TimelineSpeechOutput::finish()
{
    QString error;
    SoundTimeline::Samples samples = SoundDecoder::resample(m_utterance, m_sampleRate, &error);
    m_utterance.clear();
    if (!samples) {
        qCWarning(lcSound).noquote() << error;
        return;
    }
    m_timeline.place(QString::fromLatin1(Channel), TimelineSound::sampleAt(m_startMs), std::move(samples));
}

void TimelineSpeechOutput::stop()
{
    m_timeline.cut(QString::fromLatin1(Channel), TimelineSound::sampleAt(m_clock.nowMs()));
}

bool TimelineSpeechOutput::isPlaying() const
{
    return m_timeline.endOf(QString::fromLatin1(Channel)) > TimelineSound::sampleAt(m_clock.nowMs());
}

TimelineSpeechService::TimelineSpeechService(SoundTimeline &timeline, const RecordingClock &clock)
    : m_timeline(timeline)
    , m_clock(clock)
{
}

std::unique_ptr<SpeechEngine> TimelineSpeechService::createEngine()
{
    return EspeakSpeechEngine::create(VoiceSettings::defaultPath(), [this](int sampleRate) {
        return std::make_unique<TimelineSpeechOutput>(m_timeline, m_clock, sampleRate);
    });
}
