#pragma once

#include "OptionInfo.h"

#include <QList>
#include <QString>

// A ready-made look for the display: the fare cells' three colours and digit
// face and the stop-name strip's two colours, set together from one button of
// the options dialog. A preset is only a quick way to fill those options; it
// is saved as the values it set, like values picked one by one.
struct LookPreset
{
    QString caption;
    quint32 digitBack = 0;
    quint32 digitUnlit = 0;
    quint32 digitLit = 0;
    quint32 stripBack = 0;
    quint32 stripFore = 0;
    // The fare cells' digit style (M_Degit::DegitStyle).
    int segmentStyle = 1;

    // The presets in the order the dialog offers them; the first is the
    // look of a first run.
    static const QList<LookPreset> &all();

    // Puts the five colours into the record and leaves every other field;
    // the digit face lives outside the record.
    void applyTo(OptionInfo &info) const;
};
