#include "DisplayLookApplier.h"

#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "display/BoardLayout.h"
#include "windows/Form1.h"
#include "windows/mdlR57_000.h"
#include "windows/frmCtl.h"

#include <QLabel>

#include <array>

DisplayLookApplier::DisplayLookApplier(Form1 &display)
    : m_display(display)
{
}

void DisplayLookApplier::apply(const OptionInfo &options)
{
    frmCtl *controlPanel = m_display.controlPanel();
    const int backlightState = controlPanel ? controlPanel->backlightState() : 0;

    showTicketNumbers(options.Panel);
    colorTicketNumbers(options.Panel, backlightState);
    colorDigitCells(options.Degit);
    applyStopNameLook(options.Chimei);
    if (controlPanel) {
        controlPanel->Option4_Click(backlightState);
    }
}

void DisplayLookApplier::showTicketNumbers(const OptPanel &panel)
{
    const bool shown = panel.AutoSeiriNum == 1;
    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        m_display.lblSeiriNum(n)->setVisible(shown);
    }
    // Hidden labels are numbered all the same, ready for when they show.
    m_display.panelModule().SeirikenNumSet(panel.SeiriNumStyle, panel.SeiriZeroPad);
}

void DisplayLookApplier::colorTicketNumbers(const OptPanel &panel, int backlightState)
{
    const std::array<quint32, 3> byState = {panel.SeiriColorOff, panel.SeiriColorOn1, panel.SeiriColorOn2};
    m_display.setLabelColor(byState.at(backlightState));
}

void DisplayLookApplier::colorDigitCells(const OptDegit &digits)
{
    // The clock cells always wear the fare cells' colours.
    QList<M_Degit *> cells;
    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        cells.append(m_display.Degit(n));
    }
    cells << m_display.TimeDegit(0) << m_display.TimeDegit(1);
    for (M_Degit *cell : cells) {
        cell->setBackColor(digits.DegitBackColor);
        cell->setBaseForeColor(digits.DegitBaseColor);
        cell->setDegitForeColor(digits.DegitLitColor);
    }
}

void DisplayLookApplier::applyStopNameLook(const OptChimei &stopName)
{
    // A face mode of -1 (no face chosen) draws as gothic.
    ChimeiCtl_B *strip = m_display.ChimeiCtl();
    strip->setBackColor(stopName.ChimeiBackColor);
    strip->setForeColor(stopName.ChimeiForeColor);
    strip->setFontMode(stopName.ChimeiFontMode);
    strip->setFontBold(stopName.ChimeiBold == 1);
}
