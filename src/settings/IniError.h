#pragma once

#include <QString>

// A failure of reading or writing the settings file, reported with its number
// and description.
struct IniError
{
    // The file exists but cannot be opened.
    static constexpr int PathFileAccess = 75;
    // The file ends before its last field.
    static constexpr int InputPastEnd = 62;
    // The file cannot be created or replaced.
    static constexpr int PermissionDenied = 70;
    // Writing stopped part-way (a full disk, a device error).
    static constexpr int DeviceIo = 57;

    int number = 0;
    QString description;
};
