#pragma once

#include "run/MonotonicClock.h"
#include "video/RenderScript.h"

#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>

class BusOperation;
class RecordingClock;
class RecordingTimeline;
class SoundTimeline;
class TimetableRun;

// A timetable run rendered on the recording clock: the trip's run clock goes
// at `speed` times the video's time, from 10 s before the first departure
// to the arrival at the last stop (or between `from` and `to`, run clock,
// when given: what comes before `from` is run but not recorded). Unlike a
// run on screen, the timetable never cuts a sound short: a departure due
// while a stop's sounds still play waits for them, the run clock holding.
class TimetableScript : public RenderScript
{
public:
    TimetableScript(BusOperation &bus, const SoundTimeline &sound, const RecordingClock &clock,
                    RecordingTimeline &timeline, int fps, QString route, QString section, QString trip, int speed,
                    std::optional<qint64> fromMs, std::optional<qint64> toMs);
    ~TimetableScript() override;

    QString start() override;
    void tick() override;
    bool finished() const override { return m_finished; }
    double progress() const override;

private:
    // The video's time, as the run measures it, less the time it was held:
    // while held the run clock stands, without the run being paused.
    class VideoTime : public MonotonicClock
    {
    public:
        explicit VideoTime(const RecordingClock &clock) : m_clock(clock) {}
        qint64 nowMs() const override;
        void hold(bool on);

    private:
        const RecordingClock &m_clock;
        std::optional<qint64> m_heldAt;
        qint64 m_heldFor = 0;
    };

    bool sounding() const;

    BusOperation &m_bus;
    const SoundTimeline &m_sound;
    const RecordingClock &m_clock;
    RecordingTimeline &m_timeline;
    VideoTime m_time;
    int m_frameMs;
    QString m_route;
    QString m_section;
    QString m_trip;
    int m_speed;
    std::optional<qint64> m_fromMs;
    std::optional<qint64> m_toMs;
    std::unique_ptr<TimetableRun> m_run;
    qint64 m_beginMs = 0;
    qint64 m_endMs = 0;
    bool m_finished = false;
};
