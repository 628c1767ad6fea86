#pragma once

#include "PanelState.h"
#include "fare/CommandResult.h"

#include <QString>

// The control panel as the remote interface drives it: every operation is
// the one the panel's own key or entry runs, and only while that key could
// be used.
class PanelControl
{
public:
    virtual ~PanelControl() = default;

    virtual PanelState state() const = 0;
    // Route and section as entered on the keypad: digits.
    virtual CommandResult setRoute(const QString &route, const QString &section) = 0;
    virtual CommandResult step(bool forward) = 0;
    virtual CommandResult announce(bool next) = 0;
    virtual CommandResult stopAnnouncement() = 0;
    virtual CommandResult setLateNight(bool on) = 0;
    virtual CommandResult setBacklight(int state) = 0;
    virtual CommandResult setCleared(bool on) = 0;
    virtual CommandResult requestStop() = 0;
    // The run by the timetable: trip `tripId` of the route on the board at
    // `speed`; pausing, resuming and stopping whichever run goes on.
    virtual CommandResult startRun(const QString &tripId, int speed) = 0;
    virtual CommandResult pauseRun(bool paused) = 0;
    virtual CommandResult stopRun() = 0;
};
