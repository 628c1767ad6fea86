#include "SettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

QString inFolder(const QString &folder, const QString &fileName)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + fileName : folder + QLatin1Char('/') + fileName;
}

} // namespace

SettingsLocation::SettingsLocation(const QString &programFile, const QString &configFolder,
                                   bool programFolderWritable)
    : m_programFolder(QFileInfo(programFile).absolutePath())
    , m_configFolder(configFolder)
    , m_fileName(QFileInfo(programFile).completeBaseName() + QStringLiteral(".in4"))
    , m_programFolderWritable(programFolderWritable)
{
}

SettingsLocation SettingsLocation::forRunningProgram()
{
    return forProgram(QCoreApplication::applicationFilePath());
}

SettingsLocation SettingsLocation::forProgram(const QString &programFile)
{
    return SettingsLocation(programFile, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                            isFolderWritable(QFileInfo(programFile).absolutePath()));
}

bool SettingsLocation::isFolderWritable(const QString &folder)
{
    if (!QFileInfo(folder).isDir()) {
        return false;
    }
    QTemporaryFile probe(inFolder(folder, QStringLiteral(".write-probe-XXXXXX")));
    return probe.open();
}

QString SettingsLocation::besideProgram() const
{
    return inFolder(m_programFolder, m_fileName);
}

QString SettingsLocation::savePath() const
{
    if (m_programFolderWritable || m_configFolder.isEmpty()) {
        return besideProgram();
    }
    return inFolder(m_configFolder, m_fileName);
}

QString SettingsLocation::loadPath() const
{
    const QString saved = savePath();
    return QFileInfo::exists(saved) ? saved : besideProgram();
}

QString SettingsLocation::sidePath() const
{
    const QString name = QFileInfo(m_fileName).completeBaseName() + QStringLiteral(".side.json");
    return inFolder(m_configFolder.isEmpty() ? m_programFolder : m_configFolder, name);
}
