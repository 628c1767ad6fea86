#pragma once

#include "MultimediaCommands.h"

#include <QString>

#include <map>
#include <memory>

class CommandString;
class GstChannel;

// Plays multimedia command strings through GStreamer, one GstChannel (a decode pipeline of its own) per alias.
// Waiting (a waited play, a sleep) runs a local event loop that holds back
// user input: the windows keep painting and timers keep running, and clicks
// are handled once the wait is over. A waited play that stalls gives the
// input back after the sound's length and a margin (GstChannel::hasStalled).
class GstCommandInterpreter : public MultimediaCommands
{
public:
    // The error numbers that send() answers besides 0.
    enum Error {
        UnknownCommand = 1, // not a command this interpreter knows
        UnknownAlias = 2,   // no file is open under that alias
        CannotOpen = 3,     // the file is missing or cannot be decoded
        CannotPlay = 4,     // the play cannot start, or stalled and was given up
    };

    GstCommandInterpreter();
    ~GstCommandInterpreter() override;

    int send(const QString &command) override;
    void sleep(int milliseconds) override;

    // Whether a sound is playing under `alias` right now.
    bool isPlaying(const QString &alias) const;

private:
    int open(const CommandString &command);
    int play(const CommandString &command);
    GstChannel *channel(const QString &alias) const;
    static QString key(const QString &alias);

    std::map<QString, std::unique_ptr<GstChannel>> m_channels;
};
