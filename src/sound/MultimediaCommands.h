#pragma once

#include <QString>

// The multimedia command strings that sound playback is written in:
//   open "PATH" type waveaudio|mpegvideo|sequencer alias ALIAS wait
//   play ALIAS from 0 [wait]
//   stop ALIAS
//   close ALIAS
// Inside the quotes a path writes " as \" and \ as \\.
// One implementation plays them (GstCommandInterpreter); tests record them.
class MultimediaCommands
{
public:
    virtual ~MultimediaCommands() = default;

    // Carries out one command: 0 when it succeeded, otherwise an error number.
    // "play ... wait" returns when the sound has ended.
    virtual int send(const QString &command) = 0;

    // Holds the caller for `milliseconds` the way a waited sound does.
    virtual void sleep(int milliseconds) = 0;
};
