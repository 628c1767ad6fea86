#pragma once

#include <QtGlobal>

// The display window's position that the settings file keeps, in twips.
struct FormInfo
{
    qint32 Left = 0;
    qint32 Top = 0;

    template <class Self, class Visitor>
    static void visit(Self &self, Visitor &&visitor)
    {
        visitor("Left", self.Left);
        visitor("Top", self.Top);
    }
    bool operator==(const FormInfo &) const = default;
};
