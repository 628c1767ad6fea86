#include "ControlValue.h"

#include <QCheckBox>
#include <QComboBox>

namespace ControlValue {

qint16 checkValue(const QCheckBox *box)
{
    return box->isChecked() ? 1 : 0;
}

void setCheckValue(QCheckBox *box, qint16 value)
{
    box->setChecked(value != 0);
}

qint16 optionValue(const QAbstractButton *button)
{
    return button->isChecked() ? -1 : 0;
}

void setOptionValue(QAbstractButton *button, qint16 value)
{
    button->setChecked(value != 0);
}

qint16 listIndex(const QComboBox *list)
{
    return static_cast<qint16>(list->currentIndex());
}

void setListIndex(QComboBox *list, qint16 position)
{
    list->setCurrentIndex(position);
}

} // namespace ControlValue
