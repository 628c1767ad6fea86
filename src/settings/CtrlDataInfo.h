#pragma once

#include <QtGlobal>

// The control panel's record for the settings file, fields in file order.
struct CtrlDataInfo
{
    // Index of the input frame last sent behind the other (0 lists, 1 keypad).
    qint16 InputFrame = 0;
    // Scroll speed slider: 2000 at the left end to 1 at the right end.
    qint32 ScrollSpeed = 0;
    // Scroll start wait slider: 3000 at the left end to 0 at the right end.
    qint32 ScrollStartWait = 0;
    // Late-night fare box: 0 off, 1 on.
    qint16 LateNight = 0;
    // Ticket preview area: 0 closed, 1 open.
    qint16 PreviewOpen = 0;
    // The control panel's left and top edges, in twips.
    qint32 Left = 0;
    qint32 Top = 0;

    template <class Self, class Visitor>
    static void visit(Self &self, Visitor &&visitor)
    {
        visitor("InputFrame", self.InputFrame);
        visitor("ScrollSpeed", self.ScrollSpeed);
        visitor("ScrollStartWait", self.ScrollStartWait);
        visitor("LateNight", self.LateNight);
        visitor("PreviewOpen", self.PreviewOpen);
        visitor("Left", self.Left);
        visitor("Top", self.Top);
    }
    bool operator==(const CtrlDataInfo &) const = default;
};
