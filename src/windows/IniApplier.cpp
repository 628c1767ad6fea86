#include "IniApplier.h"

#include "DisplayLookApplier.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "windows/Form1.h"
#include "windows/frmCtl.h"
#include "windows/frmOption.h"
#include "settings/OptionsStore.h"

#include <QScopeGuard>

IniApplier::IniApplier(Form1 &display) : m_display(display) {}

void IniApplier::collect(IniRecords &records) const
{
    for (int i = 1; i <= IniRecords::DegitCount; ++i) {
        const M_Degit *cell = m_display.Degit(i);
        records.Degits[i - 1] = {qint16(cell->shift()), qint16(cell->zeroMode()), qint16(cell->fillZero())};
    }
    records.Option = m_display.options().info();
    records.Ctrl = m_display.controlPanel()->GetCtrlDataInfo();
    records.Form = m_display.GetFormInfo();
    records.Colors = m_display.createOptionsDialog().customColors();
}

OptionResult IniApplier::apply(const IniRecords &records)
{
    frmCtl &controlPanel = *m_display.controlPanel();
    // The options and then their look both put the backlight on: a broken
    // panel picture is reported once.
    controlPanel.setPictureErrorsShownOnce(true);
    const auto shownAgain = qScopeGuard([&controlPanel] { controlPanel.setPictureErrorsShownOnce(false); });
    frmOption &options = m_display.createOptionsDialog();
    // The colour chooser works on this table directly for the rest of the run.
    options.customColors() = records.Colors;
    applyCells(records);

    const OptionResult refused = m_display.options().assign(records.Option);
    // The restored panel pictures and ticket-number colours go on the
    // display, also when a later field was refused.
    controlPanel.Option4_Click(controlPanel.backlightState());
    if (refused) {
        return refused;
    }
    controlPanel.SetCtrlDataInfo(records.Ctrl);
    if (!m_display.isReachable(controlPanel)) {
        m_display.placeControlPanelAsAtFirstRun();
    }
    m_display.SetFormInfo(records.Form);
    if (!m_display.isReachable(m_display)) {
        m_display.placeDisplayAsAtFirstRun();
    }
    options.SetProp();
    return std::nullopt;
}

void IniApplier::applyCells(const IniRecords &records)
{
    for (int i = 1; i <= IniRecords::DegitCount; ++i) {
        M_Degit *cell = m_display.Degit(i);
        const DegitInfo &format = records.Degits[i - 1];
        cell->setZeroMode(format.ZeroMode);
        cell->setShift(format.Shift);
        cell->setFillZero(format.FillZero);
    }
    DisplayLookApplier(m_display).colorDigitCells(records.Option.Degit);
    for (int i = 1; i <= IniRecords::DegitCount; ++i) {
        // Only the unlit segments until the first fares are shown.
        m_display.Degit(i)->setValue(QStringLiteral(" "));
    }
    ChimeiCtl_B *strip = m_display.ChimeiCtl();
    strip->setBackColor(records.Option.Chimei.ChimeiBackColor);
    strip->setForeColor(records.Option.Chimei.ChimeiForeColor);
}
