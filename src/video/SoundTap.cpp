#include "SoundTap.h"

#include "video/TimelineSound.h"
#include "video/TimelineSpeech.h"

// The engine's output with a copy of each utterance begun while a recording
// is attached.
class SoundTap::TappedSpeech : public PcmOutput
{
public:
    TappedSpeech(SoundTap &tap, std::unique_ptr<PcmOutput> player, int sampleRate)
        : m_tap(tap)
        , m_player(std::move(player))
        , m_sampleRate(sampleRate)
    {
        m_tap.m_speech.insert(this);
    }
    ~TappedSpeech() override { m_tap.m_speech.erase(this); }

    void start() override
    {
        m_player->start();
        m_copy.reset();
        if (m_tap.attached()) {
            m_copy = std::make_unique<TimelineSpeechOutput>(*m_tap.m_sound, m_tap.now(), m_sampleRate);
            m_copy->start();
        }
    }
    void push(const qint16 *samples, int count) override
    {
        m_player->push(samples, count);
        if (m_copy) {
            m_copy->push(samples, count);
        }
    }
    void finish() override
    {
        m_player->finish();
        if (m_copy) {
            m_copy->finish();
        }
    }
    void stop() override
    {
        m_player->stop();
        if (m_copy) {
            m_tap.now();
            m_copy->stop();
        }
    }
    bool isPlaying() const override { return m_player->isPlaying(); }

    // The recording went: nothing more is copied into it.
    void forget() { m_copy.reset(); }

private:
    SoundTap &m_tap;
    std::unique_ptr<PcmOutput> m_player;
    int m_sampleRate;
    std::unique_ptr<TimelineSpeechOutput> m_copy;
};

SoundTap::SoundTap(MultimediaCommands &player)
    : m_player(player)
{
}

SoundTap::~SoundTap()
{
    detach();
}

int SoundTap::send(const QString &command)
{
    // Copied first: a waited play returns only when the sound has ended,
    // and the copy sounds from when it began.
    if (m_copy) {
        now();
        m_copy->send(command);
    }
    return m_player.send(command);
}

void SoundTap::sleep(int milliseconds)
{
    m_player.sleep(milliseconds);
}

std::unique_ptr<PcmOutput> SoundTap::tapSpeech(std::unique_ptr<PcmOutput> player, int sampleRate)
{
    if (!player) {
        return nullptr;
    }
    return std::make_unique<TappedSpeech>(*this, std::move(player), sampleRate);
}

void SoundTap::attach(SoundTimeline &sound, RecordingClock &clock, QElapsedTimer started)
{
    detach();
    m_sound = &sound;
    m_clock = &clock;
    m_started = started;
    m_copy = std::make_unique<TimelineSound>(sound, clock, TimelineSound::Waits::Ignore);
}

void SoundTap::detach()
{
    for (TappedSpeech *speech : m_speech) {
        speech->forget();
    }
    m_copy.reset();
    m_sound = nullptr;
    m_clock = nullptr;
}

RecordingClock &SoundTap::now()
{
    m_clock->setNow(m_started.elapsed());
    return *m_clock;
}
