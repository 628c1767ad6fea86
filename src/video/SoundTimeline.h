#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

// The sound of a recording: sounds placed at sample positions on named
// channels, mixed into one stream of 16-bit mono samples (at
// VideoFormat::SampleRate). A channel sounds one thing at a time, as the
// program's channels do: a sound placed on it cuts off the one before.
// The stream is read forward once; what lies behind it is forgotten, so
// memory holds only the sounds still playing.
class SoundTimeline
{
public:
    using Samples = std::shared_ptr<const std::vector<qint16>>;

    // Places `samples` on `channel` from sample `at` (no earlier than what
    // was already mixed) and returns the sample after its last.
    qint64 place(const QString &channel, qint64 at, Samples samples);
    // Silences `channel` from sample `at` on.
    void cut(const QString &channel, qint64 at);
    // The sample after the last one `channel` sounds; what was mixed so
    // far when it is silent.
    qint64 endOf(const QString &channel) const;

    // The next `count` samples of the stream, mixed (sums are clipped,
    // not wrapped).
    void mix(qsizetype count, qint16 *out);
    // The sample after the last one any channel sounds: what was mixed so
    // far when all are silent.
    qint64 lastEnd() const;
    // Samples mixed so far: where the stream stands.
    qint64 mixed() const { return m_mixed; }

private:
    struct Placed
    {
        QString channel;
        qint64 start = 0;
        qint64 end = 0; // exclusive; earlier than start + size when cut
        Samples samples;
    };

    std::vector<Placed> m_placed;
    qint64 m_mixed = 0;
};
