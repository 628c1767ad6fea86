#include "PanelOptions.h"

#include "settings/frmOption.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace PanelOptions {

FareDisplayOptions fareDisplay(const frmOption &options, bool lateNight)
{
    FareDisplayOptions display;
    display.lateNight = lateNight;
    for (int row = 0; row < 4; ++row) {
        // A list without a selection gives cell 0: the row is skipped.
        display.infoRows.at(row) = {options.Check3(row)->isChecked(), options.Combo4(row)->currentIndex() + 1};
    }
    display.countFromZero = options.Check3(4)->isChecked();
    const int dataColumn = options.Combo4(4)->currentIndex() + 1;
    if (dataColumn == 0) {
        display.infoRows.at(FareBoard::InfoDataColumn).enabled = false; // no column chosen
    }
    display.infoDataColumn = std::max(dataColumn, 1);
    for (int option = 0; option < 3; ++option) {
        if (options.Option4(option)->isChecked()) {
            display.dateOption = option;
        }
    }
    display.fixedDate = options.Label10()->text();
    return display;
}

SteppingSoundOptions steppingSound(const frmOption &options)
{
    SteppingSoundOptions sound;
    sound.alwaysSameSound = options.Option2(0)->isChecked();
    sound.alwaysFile = options.txtSelectSound(7)->text();
    sound.selectorColumn = options.Combo1()->currentIndex() + 1;
    for (int value = 0; value < 3; ++value) {
        sound.selectorFiles.at(value) = options.txtSelectSound(8 + value)->text();
    }
    return sound;
}

bool waitsForSteppingSound(const frmOption &options)
{
    return options.Option6(0)->isChecked();
}

} // namespace PanelOptions
