#pragma once

#include "sound/MultimediaCommands.h"

#include <QStringList>

// Records every command instead of playing it. Sleeps are recorded in the
// same list as "sleep N" so that their order against the commands shows.
class FakeMultimedia : public MultimediaCommands
{
public:
    // What "open" commands answer; the other commands always succeed.
    int openResult = 0;

    QStringList commands;

    int send(const QString &command) override;
    void sleep(int milliseconds) override;
};
