#pragma once

#include "ChimePlayer.h"
#include "mdlSndAPI.h"

// Plays the sound before an announcement on the program's sound channels.
class SoundChimePlayer : public ChimePlayer
{
public:
    explicit SoundChimePlayer(MultimediaCommands &commands);
    void play(const QString &file, const QString &channel, bool wait) override;

private:
    mdlSndAPI m_sound;
};
