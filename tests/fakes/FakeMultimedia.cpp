#include "FakeMultimedia.h"

int FakeMultimedia::send(const QString &command)
{
    commands << command;
    return command.startsWith(QLatin1String("open ")) ? openResult : 0;
}

void FakeMultimedia::sleep(int milliseconds)
{
    commands << QStringLiteral("sleep %1").arg(milliseconds);
}
