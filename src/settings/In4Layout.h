#pragma once

#include "settings/IniRecords.h"

#include <QString>

// Where a field sits in the settings file: its block, its name and, in the
// blocks that repeat one entry (the custom colours, the fare cells), the
// 1-based entry number.
struct In4Field
{
    const char *block = "";
    const char *field = "";
    int entry = 0;

    // "OptPanel.SeiriNumStyle", "DegitInfo[12].Shift", "CustomColors[3]".
    QString name() const;
};

// The settings file is eleven blocks back to back, without header or padding.
// visit() calls visitor(In4Field, value&) for every field in file order; the
// value is a qint16, qint32, quint32 (a colour) or QString. Block 10 is
// handed over as `degitCount`: the file says how many fare cells follow, but
// exactly IniRecords::DegitCount entries follow whatever it says.
namespace In4Layout {

template <class Records, class Count, class Visitor>
void visit(Records &records, Count &degitCount, Visitor &&visitor)
{
    const auto block = [&visitor](const char *name) {
        return [&visitor, name](const char *field, auto &value) { visitor(In4Field{name, field}, value); };
    };
    OptFolder::visit(records.Option.Folder, block("OptFolder"));
    OptPanel::visit(records.Option.Panel, block("OptPanel"));
    OptDegit::visit(records.Option.Degit, block("OptDegit"));
    OptChimei::visit(records.Option.Chimei, block("OptChimei"));
    OptSound::visit(records.Option.Sound, block("OptSound"));
    OptSeiriken::visit(records.Option.Seiriken, block("OptSeiriken"));
    CtrlDataInfo::visit(records.Ctrl, block("CtrlDataInfo"));
    FormInfo::visit(records.Form, block("FormInfo"));
    for (int i = 0; i < int(records.Colors.size()); ++i) {
        visitor(In4Field{"CustomColors", "", i + 1}, records.Colors[i]);
    }
    visitor(In4Field{"DegitCount", ""}, degitCount);
    for (int i = 0; i < IniRecords::DegitCount; ++i) {
        DegitInfo::visit(records.Degits[i], [&visitor, i](const char *field, auto &value) {
            visitor(In4Field{"DegitInfo", field, i + 1}, value);
        });
    }
}

} // namespace In4Layout
