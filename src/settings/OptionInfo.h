#pragma once

#include <QString>
#include <QtGlobal>

// The option record: every option of the options dialog, in the six blocks
// and the field order in which the settings file keeps them. Check boxes are
// 0 or 1, option buttons -1 (selected) or 0, list positions -1 (nothing
// selected) or 0-based, colours 0x00BBGGRR. A fresh record holds zeros and
// empty strings, as the settings file's records do before a load.
//
// Each block's visit(self, visitor) calls visitor(name, field) for every
// field in record order, for code that handles the fields one by one.

struct OptFolder
{
    QString FareDataDir;
    QString TapeDataDir;

    template <class Self, class Visitor>
    static void visit(Self &self, Visitor &&visitor)
    {
        visitor("FareDataDir", self.FareDataDir);
        visitor("TapeDataDir", self.TapeDataDir);
    }
    bool operator==(const OptFolder &) const = default;
};

struct OptPanel
{
    qint16 AutoSeiriNum = 0;
    quint32 SeiriColorOff = 0;
    quint32 SeiriColorOn1 = 0;
    quint32 SeiriColorOn2 = 0;
    qint16 SeiriNumStyle = 0;
    qint16 SeiriZeroPad = 0;
    qint16 PanelAuto = 0;
    qint16 PanelCustom = 0;
    qint16 PanelOffBuiltIn = 0;
    qint16 PanelOffUser = 0;
    qint16 PanelOn1BuiltIn = 0;
    qint16 PanelOn1User = 0;
    qint16 PanelOn2BuiltIn = 0;
    qint16 PanelOn2User = 0;
    QString PanelOffFile;
    QString PanelOn1File;
    QString PanelOn2File;

    template <class Self, class Visitor>
    static void visit(Self &self, Visitor &&visitor)
    {
        visitor("AutoSeiriNum", self.AutoSeiriNum);
        visitor("SeiriColorOff", self.SeiriColorOff);
        visitor("SeiriColorOn1", self.SeiriColorOn1);
        visitor("SeiriColorOn2", self.SeiriColorOn2);
        visitor("SeiriNumStyle", self.SeiriNumStyle);
        visitor("SeiriZeroPad", self.SeiriZeroPad);
        visitor("PanelAuto", self.PanelAuto);
        visitor("PanelCustom", self.PanelCustom);
        visitor("PanelOffBuiltIn", self.PanelOffBuiltIn);
        visitor("PanelOffUser", self.PanelOffUser);
        visitor("PanelOn1BuiltIn", self.PanelOn1BuiltIn);
        visitor("PanelOn1User", self.PanelOn1User);
        visitor("PanelOn2BuiltIn", self.PanelOn2BuiltIn);
        visitor("PanelOn2User", self.PanelOn2User);
        visitor("PanelOffFile", self.PanelOffFile);
        visitor("PanelOn1File", self.PanelOn1File);
        visitor("PanelOn2File", self.PanelOn2File);
    }
    bool operator==(const OptPanel &) const = default;

    // Per backlight state (0 OFF, 1 ON1, 2 ON2): whether the panel picture
    // is the user's own file (pictures chosen per state, and that state's
    // user picture selected), that file, and the ticket numbers' colour.
    bool usesUserPicture(int state) const
    {
        const qint16 user[] = {PanelOffUser, PanelOn1User, PanelOn2User};
        return PanelCustom != 0 && user[state] != 0;
    }
    const QString &pictureFile(int state) const
    {
        const QString *file[] = {&PanelOffFile, &PanelOn1File, &PanelOn2File};
        return *file[state];
    }
    quint32 ticketNumberColor(int state) const
    {
        const quint32 color[] = {SeiriColorOff, SeiriColorOn1, SeiriColorOn2};
        return color[state];
    }
};

struct OptDegit
{
    quint32 DegitBackColor = 0;
    quint32 DegitBaseColor = 0;
    quint32 DegitLitColor = 0;
    qint16 InfoStopOn = 0;
    qint16 InfoStopCell = 0;
    qint16 InfoStopFromZero = 0;
    qint16 InfoSeiriOn = 0;
    qint16 InfoSeiriCell = 0;
    qint16 InfoRouteOn = 0;
    qint16 InfoRouteCell = 0;
    qint16 InfoDataOn = 0;
    qint16 InfoDataColumn = 0;
    qint16 InfoDataCell = 0;

    template <class Self, class Visitor>
    static void visit(Self &self, Visitor &&visitor)
    {
        visitor("DegitBackColor", self.DegitBackColor);
        visitor("DegitBaseColor", self.DegitBaseColor);
        visitor("DegitLitColor", self.DegitLitColor);
        visitor("InfoStopOn", self.InfoStopOn);
        visitor("InfoStopCell", self.InfoStopCell);
        visitor("InfoStopFromZero", self.InfoStopFromZero);
        visitor("InfoSeiriOn", self.InfoSeiriOn);
        visitor("InfoSeiriCell", self.InfoSeiriCell);
        visitor("InfoRouteOn", self.InfoRouteOn);
        visitor("InfoRouteCell", self.InfoRouteCell);
        visitor("InfoDataOn", self.InfoDataOn);
        visitor("InfoDataColumn", self.InfoDataColumn);
        visitor("InfoDataCell", self.InfoDataCell);
    }
    bool operator==(const OptDegit &) const = default;
};

struct OptChimei
{
    quint32 ChimeiBackColor = 0;
    quint32 ChimeiForeColor = 0;
    qint16 ChimeiFontMode = 0;
    qint16 ChimeiBold = 0;

    template <class Self, class Visitor>
    static void visit(Self &self, Visitor &&visitor)
    {
        visitor("ChimeiBackColor", self.ChimeiBackColor);
        visitor("ChimeiForeColor", self.ChimeiForeColor);
        visitor("ChimeiFontMode", self.ChimeiFontMode);
        visitor("ChimeiBold", self.ChimeiBold);
    }
    bool operator==(const OptChimei &) const = default;
};

struct OptSound
{
    QString SndRouteSet;
    QString SndReset;
    qint16 StepSndAlways = 0;
    qint16 StepSndByColumn = 0;
    qint16 StepSndSync = 0;
    qint16 StepSndAsync = 0;
    QString StepSndFile;
    qint16 StepSndColumn = 0;
    QString StepSnd1;
    QString StepSnd2;
    QString StepSnd3;
    qint16 TapeSndAlways = 0;
    qint16 TapeSndByFlag = 0;
    qint16 TapeSndSync = 0;
    qint16 TapeSndAsync = 0;
    QString TapeSndFile;
    QString TapeSnd1;
    QString TapeSnd2;
    QString TapeSnd3;

    template <class Self, class Visitor>
    static void visit(Self &self, Visitor &&visitor)
    {
        visitor("SndRouteSet", self.SndRouteSet);
        visitor("SndReset", self.SndReset);
        visitor("StepSndAlways", self.StepSndAlways);
        visitor("StepSndByColumn", self.StepSndByColumn);
        visitor("StepSndSync", self.StepSndSync);
        visitor("StepSndAsync", self.StepSndAsync);
        visitor("StepSndFile", self.StepSndFile);
        visitor("StepSndColumn", self.StepSndColumn);
        visitor("StepSnd1", self.StepSnd1);
        visitor("StepSnd2", self.StepSnd2);
        visitor("StepSnd3", self.StepSnd3);
        visitor("TapeSndAlways", self.TapeSndAlways);
        visitor("TapeSndByFlag", self.TapeSndByFlag);
        visitor("TapeSndSync", self.TapeSndSync);
        visitor("TapeSndAsync", self.TapeSndAsync);
        visitor("TapeSndFile", self.TapeSndFile);
        visitor("TapeSnd1", self.TapeSnd1);
        visitor("TapeSnd2", self.TapeSnd2);
        visitor("TapeSnd3", self.TapeSnd3);
    }
    bool operator==(const OptSound &) const = default;
};

struct OptSeiriken
{
    qint16 UseSeiriPrev = 0;
    QString PluginPath;
    qint16 DateAtPrint = 0;
    qint16 DateAtRouteSet = 0;
    qint16 DateFixed = 0;
    QString FixedDate;

    template <class Self, class Visitor>
    static void visit(Self &self, Visitor &&visitor)
    {
        visitor("UseSeiriPrev", self.UseSeiriPrev);
        visitor("PluginPath", self.PluginPath);
        visitor("DateAtPrint", self.DateAtPrint);
        visitor("DateAtRouteSet", self.DateAtRouteSet);
        visitor("DateFixed", self.DateFixed);
        visitor("FixedDate", self.FixedDate);
    }
    bool operator==(const OptSeiriken &) const = default;
};

struct OptionInfo
{
    OptFolder Folder;
    OptPanel Panel;
    OptDegit Degit;
    OptChimei Chimei;
    OptSound Sound;
    OptSeiriken Seiriken;

    // Every field of the six blocks, in record order.
    template <class Self, class Visitor>
    static void visit(Self &self, Visitor &&visitor)
    {
        OptFolder::visit(self.Folder, visitor);
        OptPanel::visit(self.Panel, visitor);
        OptDegit::visit(self.Degit, visitor);
        OptChimei::visit(self.Chimei, visitor);
        OptSound::visit(self.Sound, visitor);
        OptSeiriken::visit(self.Seiriken, visitor);
    }
    bool operator==(const OptionInfo &) const = default;
};
