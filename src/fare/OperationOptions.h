#pragma once

#include "fare/FareBoard.h"
#include "fare/SteppingSound.h"
#include "settings/OptionInfo.h"
#include "sound/TapeOptions.h"

#include <QDate>
#include <QString>

// What the running bus takes from the option record at the moment of use:
// the folders, the sounds, the information numbers and the ticket date.
namespace OperationOptions {

// The folders a route setting reads from (empty: the working folder), each
// ending in "/" when not empty: the fare data, and the announcements with
// their reading dictionary.
QString fareFolder(const OptionInfo &options);
QString tapeFolder(const OptionInfo &options);

// The look of the board at a stop: information numbers and the ticket date,
// with the bus's own late-night fare.
FareDisplayOptions fareDisplay(const OptionInfo &options, bool lateNight);

// Which sound a data step plays, and whether the fares change only after it.
SteppingSoundOptions steppingSound(const OptionInfo &options);
bool waitsForSteppingSound(const OptionInfo &options);

// The sound before an announcement and whether the announcement waits for it.
TapeOptions tape(const OptionInfo &options);

// The ticket date held from route setting on.
QString heldDate(const OptionInfo &options, const QDate &today);

} // namespace OperationOptions
