#pragma once

#include "fare/FareBoard.h"
#include "fare/SteppingSound.h"

class frmOption;

// What the control panel reads from the options dialog at the moment of use:
// the controls there are the live store of the options.
namespace PanelOptions {

// The look of the board at a stop: information numbers and the ticket date,
// with the panel's own late-night box.
FareDisplayOptions fareDisplay(const frmOption &options, bool lateNight);

// Which sound a data step plays.
SteppingSoundOptions steppingSound(const frmOption &options);

// Whether a data step waits for its sound before the fares change.
bool waitsForSteppingSound(const frmOption &options);

} // namespace PanelOptions
