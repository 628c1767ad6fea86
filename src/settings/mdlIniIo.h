#pragma once

#include "settings/IniError.h"
#include "settings/IniRecords.h"
#include "settings/SettingsLocation.h"

#include <optional>

// The settings file: carries every option, the control panel's state, the
// window position, the custom colours and the fare cells' digit formats from
// one run to the next. This part reads and writes the file; the display
// window hands the records to the windows and collects them again.
class mdlIniIo
{
public:
    enum class ReadStatus {
        // No file (or a name the file system rejects): nothing to apply.
        Missing,
        Read,
        Failed,
    };
    struct ReadOutcome
    {
        ReadStatus status = ReadStatus::Missing;
        IniError error;
    };

    explicit mdlIniIo(SettingsLocation location);

    // The records shared with the windows for the whole run: sources at the
    // load, snapshots at the save.
    IniRecords &records() { return m_records; }

    // Clears the cells' formats and reads the file into the records.
    ReadOutcome read();
    // The file just read could not be used (it ends early, or a window
    // refused one of its values): the save would replace it with what the
    // windows hold, so the first save from now on first keeps it as
    // backupPath(). Gives that path, or nothing when the save goes
    // elsewhere and leaves the file as it is.
    std::optional<QString> keepReadFileBeforeSave();
    // Writes the records. The old file is replaced only by a complete new
    // one, so a failed save leaves it as it was. A string field that the file
    // cannot hold keeps the value the file held (the log says which).
    std::optional<IniError> write();

    // "R57.in4.bak" beside "R57.in4".
    static QString backupPath(const QString &path);

    static ReadOutcome readFile(const QString &path, IniRecords &records);
    static std::optional<IniError> writeFile(const QString &path, const IniRecords &records);

private:
    SettingsLocation m_location;
    IniRecords m_records;
    // What the file holds: as read, then as last written.
    IniRecords m_onDisk;
    bool m_keepBeforeSave = false;
};
