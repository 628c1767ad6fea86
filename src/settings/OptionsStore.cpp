#include "OptionsStore.h"

#include "OptionTexts.h"
#include "controls/DegitFormat.h"

#include <QHash>

#include <variant>

namespace {

// A number field with bounds: a check box (0 or 1), or a list position from
// -1 (nothing chosen) to one short of the list's length. The refusal names
// the control that shows the field.
struct NumberBound
{
    const char *control;
    int listLength = 0; // 0: a check box
};

const QHash<QByteArray, NumberBound> &numberBounds()
{
    static const QHash<QByteArray, NumberBound> bounds = {
        {"AutoSeiriNum", {"Check1"}},
        {"SeiriNumStyle", {"Combo2", int(OptionTexts::numberingStyles().size())}},
        {"SeiriZeroPad", {"Check2"}},
        {"InfoStopOn", {"Check3(0)"}},
        {"InfoStopCell", {"Combo4(0)", OptionsStore::CellCount}},
        {"InfoStopFromZero", {"Check3(4)"}},
        {"InfoSeiriOn", {"Check3(1)"}},
        {"InfoSeiriCell", {"Combo4(1)", OptionsStore::CellCount}},
        {"InfoRouteOn", {"Check3(2)"}},
        {"InfoRouteCell", {"Combo4(2)", OptionsStore::CellCount}},
        {"InfoDataOn", {"Check3(3)"}},
        {"InfoDataColumn", {"Combo4(4)", OptionsStore::ColumnCount}},
        {"InfoDataCell", {"Combo4(3)", OptionsStore::CellCount}},
        {"ChimeiFontMode", {"Combo3", int(OptionTexts::fontModes().size())}},
        {"ChimeiBold", {"Check4"}},
        {"StepSndColumn", {"Combo1", OptionsStore::ColumnCount}},
        {"UseSeiriPrev", {"chkUseSeiriPrev"}},
    };
    return bounds;
}

// The choices of several: the fields of option buttons of which one is selected.
const QList<QList<QByteArray>> &choices()
{
    static const QList<QList<QByteArray>> groups = {
        {"PanelAuto", "PanelCustom"},
        {"PanelOffBuiltIn", "PanelOffUser"},
        {"PanelOn1BuiltIn", "PanelOn1User"},
        {"PanelOn2BuiltIn", "PanelOn2User"},
        {"StepSndAlways", "StepSndByColumn"},
        {"StepSndSync", "StepSndAsync"},
        {"TapeSndAlways", "TapeSndByFlag"},
        {"TapeSndSync", "TapeSndAsync"},
        {"DateAtPrint", "DateAtRouteSet", "DateFixed"},
    };
    return groups;
}

constexpr qint16 Selected = -1;

OptionError refused(const NumberBound &bound, qint16 value)
{
    return {OptionError::InvalidPropertyValue,
            QStringLiteral("プロパティの値が不正です。（%1 = %2）").arg(QLatin1String(bound.control)).arg(value)};
}

// The record's number fields by name, to be written through.
QHash<QByteArray, qint16 *> numberFields(OptionInfo &info)
{
    QHash<QByteArray, qint16 *> numbers;
    OptionInfo::visit(info, [&numbers](const char *name, auto &field) {
        if constexpr (std::is_same_v<std::remove_reference_t<decltype(field)>, qint16>) {
            numbers.insert(name, &field);
        }
    });
    return numbers;
}

bool withinBounds(const NumberBound &bound, qint16 value)
{
    if (bound.listLength == 0) {
        return value == 0 || value == 1;
    }
    return value >= -1 && value < bound.listLength;
}

} // namespace

OptionsStore::OptionsStore(const QDate &today, QObject *parent)
    : QObject(parent)
    , m_info(defaults(today))
{
}

OptionInfo OptionsStore::defaults(const QDate &today)
{
    OptionInfo info;
    OptPanel &panel = info.Panel;
    panel.PanelAuto = Selected;
    panel.PanelOffBuiltIn = Selected;
    panel.PanelOn1BuiltIn = Selected;
    panel.PanelOn2BuiltIn = Selected;
    OptDegit &digits = info.Degit;
    digits.DegitBackColor = DegitFormat::DefaultBackColor;
    digits.DegitBaseColor = DegitFormat::DefaultBaseForeColor;
    digits.DegitLitColor = DegitFormat::DefaultDegitForeColor;
    OptChimei &stopName = info.Chimei;
    stopName.ChimeiBackColor = 0x808080; // yellow dots on grey
    stopName.ChimeiForeColor = 0x00FFFF;
    stopName.ChimeiFontMode = -1; // no face chosen: the display's own
    OptSound &sound = info.Sound;
    sound.StepSndAlways = Selected;
    sound.StepSndAsync = Selected;
    sound.TapeSndAlways = Selected;
    sound.TapeSndSync = Selected;
    info.Seiriken.DateAtPrint = Selected;
    info.Seiriken.FixedDate = OptionTexts::fixedDate(today);
    return info;
}

OptionResult OptionsStore::assign(const OptionInfo &info)
{
    OptionInfo next = m_info;
    // The incoming values in record order, to go with the fields of `next`.
    QList<std::variant<const QString *, const qint16 *, const quint32 *>> values;
    OptionInfo::visit(info, [&values](const char *, const auto &value) { values.append(&value); });
    const QHash<QByteArray, qint16 *> numbers = numberFields(next);

    OptionResult error;
    qsizetype position = 0;
    OptionInfo::visit(next, [&](const char *name, auto &field) {
        using Field = std::remove_reference_t<decltype(field)>;
        const Field value = *std::get<const Field *>(values.at(position++));
        if (error) {
            return;
        }
        if constexpr (std::is_same_v<Field, qint16>) {
            const QByteArray key(name);
            if (const auto bound = numberBounds().constFind(key); bound != numberBounds().cend()) {
                if (!withinBounds(*bound, value)) {
                    error = refused(*bound, value);
                    return;
                }
            }
            for (const QList<QByteArray> &choice : choices()) {
                if (!choice.contains(key)) {
                    continue;
                }
                if (value != 0) {
                    for (const QByteArray &other : choice) {
                        *numbers.value(other) = other == key ? Selected : 0;
                    }
                }
                return;
            }
        }
        field = value;
    });

    if (!(next == m_info)) {
        m_info = next;
        emit changed();
    }
    return error;
}

OptionResult OptionsStore::update(const std::function<void(OptionInfo &)> &change)
{
    OptionInfo next = m_info;
    change(next);
    // A button that `change` selected is the choice, wherever it stands in
    // its group: the one selected before is cleared first.
    OptionInfo previous = m_info;
    const QHash<QByteArray, qint16 *> before = numberFields(previous);
    const QHash<QByteArray, qint16 *> after = numberFields(next);
    for (const QList<QByteArray> &choice : choices()) {
        for (const QByteArray &member : choice) {
            if (*before.value(member) == 0 && *after.value(member) != 0) {
                for (const QByteArray &other : choice) {
                    *after.value(other) = other == member ? Selected : 0;
                }
                break;
            }
        }
    }
    return assign(next);
}
