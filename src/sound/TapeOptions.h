#pragma once

#include <QString>

#include <array>

// The options an announcement step reads at the moment it runs: which sound
// comes before the announcement and whether the announcement waits for it.
struct TapeOptions
{
    // True: every forward step plays `alwaysSound`. False: the record's
    // sound flag 1, 2 or 3 picks one of `flagSounds`. A backward step always
    // chooses by the flag.
    bool soundAlways = true;
    QString alwaysSound;
    std::array<QString, 3> flagSounds;
    // True: the announcement starts once the sound has ended; false: both
    // play together.
    bool waitForSound = true;
    // 英語放送: each announcement is followed by its English line, when the
    // route has an English announcement file.
    bool english = true;
};
