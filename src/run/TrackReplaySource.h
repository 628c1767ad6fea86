#pragma once

#include "run/FixSource.h"
#include "run/MonotonicClock.h"
#include "run/TrackFile.h"

#include <QTimer>

// Plays a recorded track back as a receiver would give it, each point at its
// time from the start, `speed` times as fast as it was recorded. Its clock
// (nowMs) is the track's: a fix's age is track time.
class TrackReplaySource : public FixSource
{
    Q_OBJECT

public:
    static constexpr double MinSpeed = 1;
    static constexpr double MaxSpeed = 600;

    // `speed` is held within [MinSpeed, MaxSpeed]; `clock` gives real time.
    TrackReplaySource(TrackFile track, QString name, double speed, const MonotonicClock &clock,
                      QObject *parent = nullptr);

    void start() override;
    State state() const override { return m_state; }
    qint64 nowMs() const override;
    // The file's name and the speed: "56.gpx ×10".
    QString description() const override;

    double speed() const { return m_speed; }
    // How many points have been given so far, of how many.
    int played() const { return int(m_next); }
    int pointCount() const { return int(m_track.points.size()); }

    // Gives every point whose time has come by the clock and waits for the
    // next; the timer calls it, and a test with its own clock too.
    void poll();

private:
    void setState(State state);

    TrackFile m_track;
    QString m_name;
    double m_speed;
    const MonotonicClock &m_clock;
    qint64 m_startedAt = 0;
    size_t m_next = 0;
    State m_state = State::Starting;
    QTimer m_timer;
};
