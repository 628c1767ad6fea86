#pragma once

#include "settings/OptionInfo.h"

class Form1;

// Puts the look-related options onto the display window: which ticket-number
// labels show and how they are numbered, their colour for the control
// panel's backlight state, the colours of the fare and clock cells, and the
// look of the stop-name display; last the control panel re-applies its
// backlight. The options read at the moment of use (folders, sounds,
// information numbers, ticket preview, panel pictures) are not touched.
class DisplayLookApplier
{
public:
    explicit DisplayLookApplier(Form1 &display);

    void apply(const OptionInfo &options);
    // The fare cells' and the clock cells' colours.
    void colorDigitCells(const OptDegit &digits);

private:
    void showTicketNumbers(const OptPanel &panel);
    void colorTicketNumbers(const OptPanel &panel, int backlightState);
    void applyStopNameLook(const OptChimei &stopName);

    Form1 &m_display;
};
