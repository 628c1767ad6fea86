#pragma once

#include "fare/CommandResult.h"

#include <QJsonObject>
#include <QObject>
#include <QString>

class BusOperation;

// A run of the bus that drives it by itself (by a timetable, by a
// position): what the panel, the remote interface and the status row know
// of it, whichever kind it is. The bus goes on taking the operator's keys
// while it runs.
class BusRun : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // "timetable", "gps": the "mode" of its state.
    virtual QString mode() const = 0;
    // Its state for the remote interface (the "run" of /api/state): "mode"
    // and what belongs to the kind of run.
    virtual QJsonObject state() const = 0;
    // What the operator reads in the status row, two lines at most:
    // "時刻表運行 ×60 07:12:05" and "次 07:13 上町".
    virtual QString statusText() const = 0;

    virtual bool paused() const { return false; }
    // Refused by a run that cannot wait (a position goes on changing).
    virtual CommandResult setPaused(bool paused)
    {
        Q_UNUSED(paused);
        return {CommandResult::Refused, QStringLiteral("この運行は一時停止できません")};
    }
    // Stops driving: the bus stays where it is, and words already being
    // said are said to their end.
    virtual void stop() = 0;

signals:
    // What state() or statusText() says has changed.
    void changed();
    // The run has come to its end by itself; `why` for the log.
    void ended(const QString &why);

protected:
    // The run ends by itself: it stops driving and says so.
    void end(const QString &why)
    {
        stop();
        emit changed();
        emit ended(why);
    }
    // Watches the bus it drives until it is stopped: a route set anew ends
    // the run, for what it follows belongs to the route that was on the
    // board; a stop stepped to changes its state.
    void followRoute(BusOperation &bus);
    // Called by stop(): nothing the run watches reaches it afterwards.
    void markStopped() { m_stopped = true; }
    bool stopped() const { return m_stopped; }

private:
    bool m_stopped = false;
};
