#pragma once

#include "settings/IniRecords.h"
#include "settings/OptionError.h"

class Form1;

// Moves the settings file's records between the windows and the records: at
// the end of the run it collects them from the windows, at start-up it hands
// each window its saved record.
class IniApplier
{
public:
    explicit IniApplier(Form1 &display);

    // The fare cells' formats, the options, the control panel's state, the
    // display window's position and the custom colours.
    void collect(IniRecords &records) const;
    // Applies the records in this order: the fare cells' formats and colours
    // (every cell left showing its unlit segments only), the clock cells'
    // colours, the stop-name display's colours, the options, the control
    // panel's state, the display window's position, and the options applied to
    // the display. A value that the options dialog refuses stops it there.
    [[nodiscard]] OptionResult apply(const IniRecords &records);

private:
    void applyCells(const IniRecords &records);

    Form1 &m_display;
};
