#pragma once

#include <QString>

// What the announcements need from the sound channels: play a file on a
// named channel ("S2", "S3"), waiting for its end or not. A missing file or
// one of an unknown type plays nothing, quietly.
class ChimePlayer
{
public:
    virtual ~ChimePlayer() = default;
    virtual void play(const QString &file, const QString &channel, bool wait) = 0;
};
