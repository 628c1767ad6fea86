#include "VoiceSettings.h"

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
    QSettings file(path, QSettings::IniFormat);
    file.setValue(QStringLiteral("voice/rate"), rate);
    file.setValue(QStringLiteral("voice/pitch"), pitch);
    file.setValue(QStringLiteral("voice/volume"), volume);
    file.sync();
    return file.status() == QSettings::NoError;
}

QString VoiceSettings::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Tavelo/voice.ini");
}
