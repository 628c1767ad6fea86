#include "OperationOptions.h"

#include "fare/RouteSetting.h"

#include <algorithm>

namespace OperationOptions {

namespace {

// The record keeps a selected option button as -1, a ticked box as 1.
bool selected(qint16 option)
{
    return option != 0;
}

} // namespace

QString fareFolder(const OptionInfo &options)
{
    return RouteSetting::withSeparator(options.Folder.FareDataDir);
}

QString tapeFolder(const OptionInfo &options)
{
    return RouteSetting::withSeparator(options.Folder.TapeDataDir);
}

FareDisplayOptions fareDisplay(const OptionInfo &options, bool lateNight)
{
    const OptDegit &degit = options.Degit;
    FareDisplayOptions display;
    display.lateNight = lateNight;
    // A list without a selection (-1) gives cell 0: the row is skipped.
    display.infoRows.at(FareBoard::InfoStopOrder) = {selected(degit.InfoStopOn), degit.InfoStopCell + 1};
    display.infoRows.at(FareBoard::InfoTicketNumber) = {selected(degit.InfoSeiriOn), degit.InfoSeiriCell + 1};
    display.infoRows.at(FareBoard::InfoRouteText) = {selected(degit.InfoRouteOn), degit.InfoRouteCell + 1};
    display.infoRows.at(FareBoard::InfoDataColumn) = {selected(degit.InfoDataOn), degit.InfoDataCell + 1};
    display.countFromZero = selected(degit.InfoStopFromZero);
    const int dataColumn = degit.InfoDataColumn + 1;
    if (dataColumn == 0) {
        display.infoRows.at(FareBoard::InfoDataColumn).enabled = false; // no column chosen
    }
    display.infoDataColumn = std::max(dataColumn, 1);
    const OptSeiriken &ticket = options.Seiriken;
    display.dateOption = selected(ticket.DateFixed) ? 2 : selected(ticket.DateAtRouteSet) ? 1 : 0;
    display.fixedDate = ticket.FixedDate;
    return display;
}

SteppingSoundOptions steppingSound(const OptionInfo &options)
{
    const OptSound &sound = options.Sound;
    SteppingSoundOptions stepping;
    stepping.alwaysSameSound = selected(sound.StepSndAlways);
    stepping.alwaysFile = sound.StepSndFile;
    stepping.selectorColumn = sound.StepSndColumn + 1;
    stepping.selectorFiles = {sound.StepSnd1, sound.StepSnd2, sound.StepSnd3};
    return stepping;
}

bool waitsForSteppingSound(const OptionInfo &options)
{
    return selected(options.Sound.StepSndSync);
}

TapeOptions tape(const OptionInfo &options)
{
    const OptSound &sound = options.Sound;
    TapeOptions tape;
    tape.soundAlways = selected(sound.TapeSndAlways);
    tape.alwaysSound = sound.TapeSndFile;
    tape.flagSounds = {sound.TapeSnd1, sound.TapeSnd2, sound.TapeSnd3};
    tape.waitForSound = selected(sound.TapeSndSync);
    return tape;
}

QString heldDate(const OptionInfo &options, const QDate &today)
{
    const FareDisplayOptions dates = fareDisplay(options, false);
    return RouteSetting::heldDate(dates.dateOption, dates.fixedDate, today);
}

} // namespace OperationOptions
