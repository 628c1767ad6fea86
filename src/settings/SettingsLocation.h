#pragma once

#include <QString>

// Where the settings file lives. Its name is the program file's name without
// extension, then ".in4". It belongs beside the program; a program folder
// that cannot be written (an installed copy) would lose the settings at every
// end, so then the file is kept in the user's configuration folder instead,
// and read from beside the program only while none exists there yet (the
// default an installed copy may ship).
class SettingsLocation
{
public:
    SettingsLocation(const QString &programFile, const QString &configFolder, bool programFolderWritable);

    // For the running program.
    static SettingsLocation forRunningProgram();
    // Where the program file `programFile` keeps its settings.
    static SettingsLocation forProgram(const QString &programFile);
    // Whether a file can really be created in the folder (permission bits do
    // not tell the whole story: read-only mounts, or the superuser).
    static bool isFolderWritable(const QString &folder);

    // "R57.in4" for the program file R57.
    QString fileName() const { return m_fileName; }
    // The file beside the program.
    QString besideProgram() const;
    // Where the settings are written.
    QString savePath() const;
    // Where the settings are read from.
    QString loadPath() const;
    // The side settings (SideSettings): "R57.side.json" in the user's
    // configuration folder, beside the program when there is none.
    QString sidePath() const;

private:
    QString m_programFolder;
    QString m_configFolder;
    QString m_fileName;
    bool m_programFolderWritable;
};
