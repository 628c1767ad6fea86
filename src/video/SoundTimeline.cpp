#include "SoundTimeline.h"

#include <algorithm>
#include <limits>

qint64 SoundTimeline::place(const QString &channel, qint64 at, Samples samples)
{
    at = std::max(at, m_mixed);
    cut(channel, at);
    if (!samples || samples->empty()) {
        return at;
    }
    const qint64 end = at + qint64(samples->size());
    m_placed.push_back({channel, at, end, std::move(samples)});
    return end;
}

void SoundTimeline::cut(const QString &channel, qint64 at)
{
    at = std::max(at, m_mixed);
    for (Placed &placed : m_placed) {
        if (placed.channel == channel && placed.end > at) {
            placed.end = std::max(placed.start, at);
        }
    }
}

qint64 SoundTimeline::endOf(const QString &channel) const
{
    qint64 end = m_mixed;
    for (const Placed &placed : m_placed) {
        if (placed.channel == channel) {
            end = std::max(end, placed.end);
        }
    }
    return end;
}

void SoundTimeline::mix(qsizetype count, qint16 *out)
{
    if (count <= 0) {
        return;
    }
    std::vector<qint32> sum(size_t(count), 0);
    const qint64 from = m_mixed;
    const qint64 to = from + count;
    for (const Placed &placed : m_placed) {
        const qint64 begin = std::max(from, placed.start);
        const qint64 end = std::min(to, placed.end);
        for (qint64 i = begin; i < end; ++i) {
            sum[size_t(i - from)] += (*placed.samples)[size_t(i - placed.start)];
        }
    }
    for (qsizetype i = 0; i < count; ++i) {
        out[i] = qint16(std::clamp<qint32>(sum[size_t(i)], std::numeric_limits<qint16>::min(),
                                          std::numeric_limits<qint16>::max()));
    }
    m_mixed = to;
    // What has been mixed whole is no longer needed.
    std::erase_if(m_placed, [to](const Placed &placed) { return placed.end <= to; });
}

qint64 SoundTimeline::lastEnd() const
{
    qint64 end = m_mixed;
    for (const Placed &placed : m_placed) {
        end = std::max(end, placed.end);
    }
    return end;
}
