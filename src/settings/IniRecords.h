#pragma once

#include "controls/Companion.h"
#include "display/FormInfo.h"
#include "settings/CtrlDataInfo.h"
#include "settings/OptionInfo.h"

#include <array>

// The digit format of one fare cell, as the settings file keeps it.
struct DegitInfo
{
    qint16 Shift = 0;
    qint16 ZeroMode = 0;
    qint16 FillZero = 0;

    template <class Self, class Visitor>
    static void visit(Self &self, Visitor &&visitor)
    {
        visitor("Shift", self.Shift);
        visitor("ZeroMode", self.ZeroMode);
        visitor("FillZero", self.FillZero);
    }
    bool operator==(const DegitInfo &) const = default;
};

// Everything the settings file carries from one run to the next. A fresh
// set holds zeros and empty strings, as before a load.
struct IniRecords
{
    // The fare cells Degit(1) to Degit(98); entry 0 is cell 1.
    static constexpr int DegitCount = 98;

    OptionInfo Option;
    CtrlDataInfo Ctrl;
    FormInfo Form;
    CustomColors Colors{};
    std::array<DegitInfo, DegitCount> Degits{};

    bool operator==(const IniRecords &) const = default;
};
