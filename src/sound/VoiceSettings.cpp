#include "VoiceSettings.h"

#include "app/FileReplacement.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace {

int clampPercent(int value)
{
    return std::clamp(value, VoiceSettings::Minimum, VoiceSettings::Maximum);
}

} // namespace

VoiceSettings VoiceSettings::clamped() const
{
    return {clampPercent(rate), clampPercent(pitch), clampPercent(volume)};
}

VoiceSettings VoiceSettings::load(const QString &path)
{
    const QSettings file(path, QSettings::IniFormat);
    VoiceSettings settings;
    settings.rate = file.value(QStringLiteral("voice/rate"), Normal).toInt();
    settings.pitch = file.value(QStringLiteral("voice/pitch"), Normal).toInt();
    settings.volume = file.value(QStringLiteral("voice/volume"), Normal).toInt();
    return settings.clamped();
}

bool VoiceSettings::save(const QString &path) const
{
    // The same INI text QSettings reads back, written as a new file put in
    // place (QSettings would write through a link at `path`).
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString text = QStringLiteral("[voice]\npitch=%1\nrate=%2\nvolume=%3\n").arg(pitch).arg(rate).arg(volume);
    return FileReplacement::write(path, text.toUtf8());
}

QString VoiceSettings::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Tavelo/voice.ini");
}
