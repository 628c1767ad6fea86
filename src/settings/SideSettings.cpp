#include "SideSettings.h"

#include "app/FileReplacement.h"
#include "display/DisplayScale.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <array>

namespace {

// A side file holds a handful of fields; anything much larger is not one.
constexpr qint64 MaxFileSize = 64 * 1024;

} // namespace

SideSettings SideSettings::load(const QString &path, QString *error)
{
    SideSettings settings;
    QFile file(path);
    if (!file.exists()) {
        return settings;
    }
    const auto fail = [&](const QString &why) {
        if (error) {
            *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), why);
        }
        return settings;
    };
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(file.errorString());
    }
    if (file.size() > MaxFileSize) {
        return fail(QStringLiteral("大きすぎます"));
    }
    const QByteArray bytes = file.readAll();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return fail(QStringLiteral("JSON として読めません（%1 文字目: %2）").arg(parseError.offset).arg(parseError.errorString()));
    }
    if (!document.isObject()) {
        return fail(QStringLiteral("JSON のオブジェクトではありません"));
    }
    settings.m_original = bytes;
    const QJsonObject remote = document.object().value(QStringLiteral("remote")).toObject();
    if (const QJsonValue enabled = remote.value(QStringLiteral("enabled")); enabled.isBool()) {
        settings.remoteEnabled = enabled.toBool();
    }
    if (const QJsonValue address = remote.value(QStringLiteral("address")); address.isString()) {
        settings.remoteAddress = address.toString();
    }
    if (const QJsonValue token = remote.value(QStringLiteral("token")); token.isString()) {
        settings.remoteToken = token.toString();
    }
    const QJsonObject display = document.object().value(QStringLiteral("display")).toObject();
    if (const int scale = display.value(QStringLiteral("scale")).toInt(); DisplayScale::isStep(scale)) {
        settings.displayScale = scale;
    }
    if (const QJsonValue fullScreen = display.value(QStringLiteral("fullScreen")); fullScreen.isBool()) {
        settings.displayFullScreen = fullScreen.toBool();
    }
    if (const int monitor = display.value(QStringLiteral("monitor")).toInt(); monitor >= 1) {
        settings.displayMonitor = monitor;
    }
    if (const QJsonValue style = display.value(QStringLiteral("segmentStyle")); style.isDouble()) {
        // Any other number keeps the default: the options offer only the
        // three faces.
        if (const int value = style.toInt(-1); value >= 0 && value <= 2) {
            settings.displaySegmentStyle = value;
        }
    }
    const QJsonObject panel = document.object().value(QStringLiteral("panel")).toObject();
    if (const int scale = panel.value(QStringLiteral("scale")).toInt(); DisplayScale::isPanelStep(scale)) {
        settings.panelScale = scale;
    }
    return settings;
}

bool SideSettings::save(const QString &path, QString *error) const
{
    QJsonObject root = QJsonDocument::fromJson(m_original).object();
    QJsonObject remote = root.value(QStringLiteral("remote")).toObject();
    remote.insert(QStringLiteral("enabled"), remoteEnabled);
    remote.insert(QStringLiteral("address"), remoteAddress);
    if (remoteToken.isEmpty()) {
        remote.remove(QStringLiteral("token"));
    } else {
        remote.insert(QStringLiteral("token"), remoteToken);
    }
    root.insert(QStringLiteral("remote"), remote);
    QJsonObject display = root.value(QStringLiteral("display")).toObject();
    display.insert(QStringLiteral("scale"), displayScale);
    display.insert(QStringLiteral("fullScreen"), displayFullScreen);
    display.insert(QStringLiteral("monitor"), displayMonitor);
    display.insert(QStringLiteral("segmentStyle"), displaySegmentStyle);
    root.insert(QStringLiteral("display"), display);
    QJsonObject panel = root.value(QStringLiteral("panel")).toObject();
    panel.insert(QStringLiteral("scale"), panelScale);
    root.insert(QStringLiteral("panel"), panel);

    const auto fail = [&](const QString &why) {
        if (error) {
            *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), why);
        }
        return false;
    };
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return fail(QStringLiteral("フォルダを作れません"));
    }
    // The token is a secret: only the user reads the file.
    QString why;
    if (!FileReplacement::write(path, QJsonDocument(root).toJson(QJsonDocument::Indented), &why,
                                QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        if (error) {
            *error = why;
        }
        return false;
    }
    return true;
}

QString SideSettings::ensureRemoteToken()
{
    if (remoteToken.isEmpty()) {
        std::array<quint32, 4> words{};
        QRandomGenerator::system()->generate(words.begin(), words.end());
        for (const quint32 word : words) {
            remoteToken += QStringLiteral("%1").arg(word, 8, 16, QLatin1Char('0'));
        }
    }
    return remoteToken;
}
