#include "mdlSndAPI.h"

#include "CommandString.h"
#include "MultimediaCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The device type of the open command, chosen by the last three characters
// of the path; empty for any other ending (.wave, .midi, no extension...).
QString deviceType(const QString &path)
{
    const QString extension = path.right(3).toUpper().trimmed();
    if (extension == QLatin1String("WAV")) {
        return QStringLiteral(" type waveaudio alias ");
    }
    if (extension == QLatin1String("MP3")) {
        return QStringLiteral(" type mpegvideo alias ");
    }
    if (extension == QLatin1String("MID")) {
        return QStringLiteral(" type sequencer alias ");
    }
    return {};
}

} // namespace

mdlSndAPI::mdlSndAPI(MultimediaCommands &commands, QString programName)
    : m_commands(commands)
    , m_programName(std::move(programName))
{
}

QString mdlSndAPI::defaultProgramName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString mdlSndAPI::alias(const QString &channel) const
{
    return m_programName + channel;
}

void mdlSndAPI::PlaySnd(const QString &path, const QString &channel, bool wait, quint16 pauseMs)
{
    if (path.isEmpty() || !FileExists(path)) {
        return;
    }
    const QString device = alias(channel);
    m_commands.send(QStringLiteral("close ") + device);

    const QString type = deviceType(path);
    if (type.isEmpty()) {
        return;
    }
    if (m_commands.send(QStringLiteral("open ") + CommandString::quoted(path) + type + device + QStringLiteral(" wait"))
        != 0) {
        return;
    }
    if (wait) {
        m_commands.send(QStringLiteral("play ") + device + QStringLiteral(" from 0 wait"));
        if (pauseMs > 0) {
            m_commands.sleep(pauseMs);
        }
    } else {
        m_commands.send(QStringLiteral("stop ") + device);
        m_commands.send(QStringLiteral("play ") + device + QStringLiteral(" from 0"));
    }
}

void mdlSndAPI::CloseAllSnd()
{
    for (const char *channel : {"S1", "S2", "S3", "S4"}) {
        m_commands.send(QStringLiteral("close ") + alias(QLatin1String(channel)));
    }
}

bool mdlSndAPI::FileExists(const QString &path)
{
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(path);
    // A folder path ending in a separator asks whether the folder holds files.
    const bool folderLookUp = path.endsWith(QLatin1Char('/'));
    const QString pattern = folderLookUp ? QStringLiteral("*") : info.fileName();
    const QDir folder(folderLookUp ? path : info.path());
    if (!folderLookUp && !pattern.contains(QLatin1Char('*')) && !pattern.contains(QLatin1Char('?'))) {
        return info.isFile();
    }
    return !folder.entryList({pattern}, QDir::Files).isEmpty();
}
