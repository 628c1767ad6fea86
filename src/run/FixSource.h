#pragma once

#include "run/PositionFix.h"

#include <QObject>
#include <QString>

// Where positions come from: a receiver through gpsd, or a recorded track
// played back. Fixes are stamped on the source's own clock (nowMs), which a
// replay runs faster than real time; a fix's age is measured on it.
class FixSource : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Starting,    // not started, or still connecting
        Receiving,   // connected, or a track playing
        Unavailable, // no gpsd (it is tried again)
        Finished,    // the track has ended
    };

    using QObject::QObject;

    virtual void start() = 0;
    virtual State state() const = 0;
    // Now on the clock the fixes are stamped with.
    virtual qint64 nowMs() const = 0;
    // What the source is, for the operator: "gpsd localhost:2947",
    // "track.gpx".
    virtual QString description() const = 0;

signals:
    void fixReceived(const PositionFix &fix);
    void stateChanged(FixSource::State state);
};
