#include "TrackReplaySource.h"

#include "app/LogText.h"
#include "run/GpsLog.h"

#include <QPointer>

#include <algorithm>
#include <cmath>

TrackReplaySource::TrackReplaySource(TrackFile track, QString name, double speed, const MonotonicClock &clock,
                                     QObject *parent)
    : FixSource(parent)
    , m_track(std::move(track))
    , m_name(std::move(name))
    , m_speed(std::isfinite(speed) ? std::clamp(speed, MinSpeed, MaxSpeed) : MinSpeed)
    , m_clock(clock)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TrackReplaySource::poll);
}

void TrackReplaySource::start()
{
    if (m_state != State::Starting)
        return;
    m_startedAt = m_clock.nowMs();
    setState(State::Receiving);
    qCInfo(lcGps).noquote() << "Replaying" << LogText::escaped(m_name) << "at" << m_speed << "times its speed:"
                            << m_track.points.size() << "points";
    poll();
}

QString TrackReplaySource::description() const
{
    return QStringLiteral("%1 ×%2").arg(m_name).arg(m_speed);
}

qint64 TrackReplaySource::nowMs() const
{
    if (m_state == State::Starting)
        return 0;
    // Clocks that step back are held at the start; far hours do not wrap.
    const double elapsed = std::max<qint64>(0, m_clock.nowMs() - m_startedAt);
    return qint64(std::min(elapsed * m_speed, 1e15));
}

void TrackReplaySource::poll()
{
    if (m_state != State::Receiving)
        return;
    const qint64 now = nowMs();
    const std::vector<TrackFile::Point> &points = m_track.points;
    while (m_next < points.size() && points[m_next].timeMs <= now) {
        const TrackFile::Point &point = points[m_next++];
        const QPointer<TrackReplaySource> alive(this);
        emit fixReceived({point.timeMs, point.place, point.valid});
        if (!alive)
            return; // a receiver of the fix ended the replay
    }
    if (m_next >= points.size()) {
        qCInfo(lcGps).noquote() << "The track" << LogText::escaped(m_name) << "has ended";
        setState(State::Finished);
        return;
    }
    // Real milliseconds to the next point, rounded up so that it is due
    // when the timer fires.
    const double wait = std::ceil(double(points[m_next].timeMs - now) / m_speed);
    m_timer.start(int(std::clamp(wait, 0.0, 3600.0 * 1000)));
}

void TrackReplaySource::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    if (state != State::Receiving)
        m_timer.stop();
    emit stateChanged(state);
}
