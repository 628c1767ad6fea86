#pragma once

#include <QString>

#include <array>

class FareRoute;

// The options that choose the sound of a data step.
struct SteppingSoundOptions
{
    // The same sound at every step (options Option2(0)).
    bool alwaysSameSound = false;
    // That sound (txtSelectSound(7)).
    QString alwaysFile;
    // The column of the new stop that selects the sound (Combo1 position + 1).
    int selectorColumn = 1;
    // The sounds for selector values 1, 2 and 3 (txtSelectSound(8..10)).
    std::array<QString, 3> selectorFiles;
};

namespace SteppingSound {

// The file to play when the bus arrives at `stop` (1-based slot); empty for
// none: a selector value other than 1, 2 or 3 steps silently.
QString fileFor(const FareRoute &route, int stop, const SteppingSoundOptions &options);

} // namespace SteppingSound
