#include "ControlValue.h"

#include <QCheckBox>
#include <QComboBox>

namespace ControlValue {

namespace {

OptionError refused(const QObject *control, qint16 value)
{
    return {OptionError::InvalidPropertyValue,
            QStringLiteral("プロパティの値が不正です。（%1 = %2）").arg(control->objectName()).arg(value)};
}

} // namespace

qint16 checkValue(const QCheckBox *box)
{
    return box->isChecked() ? 1 : 0;
}

OptionResult setCheckValue(QCheckBox *box, qint16 value)
{
    if (value != 0 && value != 1) {
        return refused(box, value);
    }
    box->setChecked(value == 1);
    return std::nullopt;
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

OptionResult setListIndex(QComboBox *list, qint16 position)
{
    if (position < -1 || position >= list->count()) {
        return refused(list, position);
    }
    list->setCurrentIndex(position);
    return std::nullopt;
}

} // namespace ControlValue
