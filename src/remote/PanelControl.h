#pragma once

#include "PanelState.h"

#include <QString>

// How an operation asked for from afar ended.
struct CommandResult
{
    enum Outcome {
        Done,
        // The panel cannot take it now: its input is held (lamp test, a
        // waited sound, a dialog), or the key is not available (no route,
        // display cleared). Nothing was done.
        Unavailable,
        // The panel refused it with the message it shows the operator.
        Refused,
    };
    Outcome outcome = Done;
    QString reason;
};

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
};
