#pragma once

#include "fare/CommandResult.h"

#include <QJsonValue>
#include <QObject>
#include <QString>

#include <memory>

class BusOperation;
class BusRun;
class FixSource;
class MonotonicClock;

// The one run the bus may have at a time, whatever drives it. The panel's
// menu, the command line and the remote interface start and stop runs
// here; the status row and the remote state read it. A run that comes to
// its end is let go here.
class RunSlot : public QObject
{
    Q_OBJECT

public:
    RunSlot(BusOperation &bus, const MonotonicClock &clock, QObject *parent = nullptr);
    ~RunSlot() override;

    BusOperation &bus() const { return m_bus; }
    const MonotonicClock &clock() const { return m_clock; }
    // The run going on, or null.
    BusRun *run() const { return m_run.get(); }

    // Takes `run` (started by the caller) as the bus's run; the one before
    // is stopped first.
    void start(std::unique_ptr<BusRun> run);
    // Runs trip `tripId` of the route on the board, from its section's first
    // stop, at `speed` (RunClock::MinSpeed..MaxSpeed): the route is set
    // again (the bus back at the start, the announcements from the top)
    // unless the bus already stands there untouched, and the run starts. A refusal changes nothing, the run going on included.
    CommandResult startTimetable(const QString &tripId, int speed);
    // Runs the route on the board by the positions of `source` (made on
    // clock()), from the stop the bus is at, a stop's circle `radiusMetres`
    // wide: refused, changing nothing, when the route's source gives no
    // stop a position.
    CommandResult startGps(std::unique_ptr<FixSource> source, double radiusMetres);
    // Unavailable when nothing runs.
    CommandResult setPaused(bool paused);
    // Done also when nothing runs.
    CommandResult stop();

    // The "run" of the remote state: its object, or null.
    QJsonValue state() const;
    // The run's lines for the status row; empty when nothing runs.
    QString statusText() const;

signals:
    // A run started, ended or changed what it shows.
    void changed();

private:
    void release(const QString &why);

    BusOperation &m_bus;
    const MonotonicClock &m_clock;
    std::unique_ptr<BusRun> m_run;
};
