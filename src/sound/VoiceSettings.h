#pragma once

#include <QString>

// How the speech engine speaks: rate, pitch and volume, each as a percentage
// of the engine's normal value. Kept in a small settings file of its own in
// the user's configuration folder.
struct VoiceSettings
{
    static constexpr int Minimum = 50;
    static constexpr int Maximum = 200;
    static constexpr int Normal = 100;

    int rate = Normal;
    int pitch = Normal;
    int volume = Normal;

    // Values outside Minimum..Maximum are brought back into range.
    VoiceSettings clamped() const;

    // A missing or unreadable file gives the normal voice.
    static VoiceSettings load(const QString &path);
    // False when the file cannot be written.
    bool save(const QString &path) const;

    // "<user configuration folder>/Tavelo/voice.ini".
    static QString defaultPath();

    bool operator==(const VoiceSettings &) const = default;
};
