#pragma once

#include "run/BusRun.h"
#include "run/DepartureSequence.h"
#include "run/RunClock.h"
#include "run/TripSchedule.h"

#include <QTimer>

class BusOperation;
class MonotonicClock;

// A run by the timetable (時刻表運行): a clock of its own starts LeadSeconds
// before the trip's first departure and goes at `speed` times real time. At
// start the opening words play; at each departure time the bus leaves the
// stop it stands at (DepartureSequence), whether or not the operator has
// moved it meanwhile; a stop the operator has stepped past by hand is not
// left again. At the last stop's arrival what is left is said, and the run
// ends.
class TimetableRun : public BusRun
{
    Q_OBJECT

public:
    static constexpr int LeadSeconds = 10;
    // How often, in real time, the clock shown moves on between events.
    static constexpr int ShowClockMs = 250;
    // How soon a departure the bus could not take (input held) is tried again.
    static constexpr int RetryMs = 20;

    // The bus stands at the schedule's first stop, the route just set.
    TimetableRun(BusOperation &bus, const MonotonicClock &clock, TripSchedule schedule, int speed,
                 QObject *parent = nullptr);

    // Starts the clock and says the opening words.
    void start();

    QString mode() const override { return QStringLiteral("timetable"); }
    QJsonObject state() const override;
    QString statusText() const override;
    bool paused() const override { return m_clock.paused(); }
    CommandResult setPaused(bool paused) override;
    void stop() override;

    const TripSchedule &schedule() const { return m_schedule; }
    const RunClock &clock() const { return m_clock; }
    // The stop the bus heads for at the next event, and the run time of that
    // event (ms); the last stop and its arrival once every departure is made.
    int nextPosition() const;
    qint64 nextAtMs() const;

    // Does what is due at the clock's time and sets the timer for what
    // comes next: the timer calls it, and a test after moving its clock.
    void tick();
    // Lines are still to be said for the stop left last (or the terminal).
    bool saying() const { return m_sequence.busy(); }
    // Says the next of them once the one playing has ended, as the
    // sequence's own poll does: for a caller that moves the clock itself.
    void advanceWords() { m_sequence.advance(); }

private:
    // The stop whose departure comes next, the operator's steps counted.
    int nextDeparture() const;
    void setTimer();

    BusOperation &m_bus;
    TripSchedule m_schedule;
    RunClock m_clock;
    DepartureSequence m_sequence;
    QTimer m_timer;
    // The stop whose departure comes next; lastStop once all are made.
    int m_next;
    // The terminal's words are being said; the run ends when they are.
    bool m_finishing = false;
    // A departure was due but the bus could not take it yet.
    bool m_retry = false;
};
