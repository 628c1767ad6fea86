#pragma once

#include <QString>

class MultimediaCommands;

// Plays the program's sound files on four channels, "S1" to "S4", by sending
// multimedia command strings. One file is open on a channel at a time; the
// device alias of a channel is the program name followed by the suffix.
// Sound fails quietly: a missing file or an unknown type plays nothing.
class mdlSndAPI
{
public:
    explicit mdlSndAPI(MultimediaCommands &commands, QString programName = defaultProgramName());

    // Plays `path` (.wav, .mp3 or .mid, any case) on `channel` ("S1" to "S4").
    // With `wait` it returns when the sound has ended and then pauses
    // `pauseMs`; without, it returns at once and a later sound on the same
    // channel cuts this one off.
    void PlaySnd(const QString &path, const QString &channel, bool wait, quint16 pauseMs = 0);

    // Closes the four channels; called once, when the program ends.
    void CloseAllSnd();

    // True when a directory look-up of `path` finds a file: a file's path, a
    // wildcard pattern that matches a file, or a folder path ending in a
    // separator that holds files.
    static bool FileExists(const QString &path);

    // The executable's file name without its extension.
    static QString defaultProgramName();

private:
    QString alias(const QString &channel) const;

    MultimediaCommands &m_commands;
    QString m_programName;
};
