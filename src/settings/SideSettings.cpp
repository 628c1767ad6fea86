#include "SideSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSaveFile>

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

    const auto fail = [&](const QString &why) {
        if (error) {
            *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), why);
        }
        return false;
    };
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return fail(QStringLiteral("フォルダを作れません"));
    }
    QSaveFile file(path);
    // The token is a secret: only the user reads the file.
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(file.errorString());
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
    if (!file.commit()) {
        return fail(file.errorString());
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
