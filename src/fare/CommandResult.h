#pragma once

#include <QString>

// How an operation of the running bus ended, whoever asked for it: the
// panel's keys, the remote interface, the route editor.
struct CommandResult
{
    enum Outcome {
        Done,
        // It cannot be taken now: the input is held (lamp test, a waited
        // sound, a dialog), or the key is not available (no route, display
        // cleared). Nothing was done.
        Unavailable,
        // It was refused with the message the panel shows the operator.
        // Nothing was changed.
        Refused,
    };
    Outcome outcome = Done;
    QString reason;
    // Shown below the reason where it helps: for a missing fare file, the
    // full path where it was looked for.
    QString detail{};
};
