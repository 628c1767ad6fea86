#include "SoundChimePlayer.h"

SoundChimePlayer::SoundChimePlayer(MultimediaCommands &commands)
    : m_sound(commands)
{
}

void SoundChimePlayer::play(const QString &file, const QString &channel, bool wait)
{
    m_sound.PlaySnd(file, channel, wait, 0);
}
