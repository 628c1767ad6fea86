#pragma once

#include <QtGlobal>

class QAbstractButton;
class QCheckBox;
class QComboBox;

// The values that the option controls report and take, as the option record
// keeps them: a check box 0 (clear) or 1 (ticked), an option button -1
// (selected) or 0, a list -1 (nothing selected) or its 0-based position.
// Every change made here fires the control's own handlers, as a click would.
// The options store keeps the values within bounds; the setters take them as
// they come.
namespace ControlValue {

qint16 checkValue(const QCheckBox *box);
void setCheckValue(QCheckBox *box, qint16 value);

qint16 optionValue(const QAbstractButton *button);
// Non-zero selects the button (and clears the others of its group); 0 clears
// it, except that a group never loses its one selected button.
void setOptionValue(QAbstractButton *button, qint16 value);

qint16 listIndex(const QComboBox *list);
void setListIndex(QComboBox *list, qint16 position);

} // namespace ControlValue
