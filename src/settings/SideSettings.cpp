#include "SideSettings.h"

#include "SettingsLog.h"
#include "app/FileReplacement.h"
#include "app/LogText.h"
#include "app/WholeFile.h"
#include "display/DisplayScale.h"
#include "formats/JsonNumber.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

// A side file holds a handful of fields; anything much larger is not one.
constexpr qint64 MaxFileSize = 64 * 1024;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Says `text` in the log the first time it comes in this run: the file is
// read again before every save, and the same trouble is not news twice.
void logOnce(const QString &text)
{
    static QMutex mutex;
    static QSet<QString> said;
    const QMutexLocker lock(&mutex);
    if (said.contains(text)) {
        return;
    }
    said.insert(text);
    // A path may hold any character: none may end the line or steer the terminal.
    qCWarning(lcSettings).noquote() << LogText::escaped(text);
}

// The token of a file that is not JSON any more, when exactly one good
// value of a "token" field can still be made out in it.
QString tokenIn(const QByteArray &damaged)
{
    static const QRegularExpression field(QStringLiteral(R"re("token"\s*:\s*"([A-Za-z0-9_-]+)")re"));
    QString found;
    for (const QRegularExpressionMatch &match : field.globalMatch(QString::fromUtf8(damaged))) {
        const QString token = match.captured(1);
        if (!SideSettings::isValidToken(token) || (!found.isEmpty() && token != found)) {
            return {};
        }
        found = token;
    }
    return found;
}

// The words of display.missingFare, in the order of DegitFormat::MissingFare.
constexpr std::array<const char *, 3> MissingFareWords = {"-1", "blank", "dash"};

} // namespace

bool SideSettings::isValidToken(const QString &token)
{
    static const QRegularExpression pattern(QStringLiteral(R"(\A[A-Za-z0-9_-]{32,256}\z)"));
    return pattern.match(token).hasMatch();
}

SideSettings SideSettings::load(const QString &path, QString *error)
{
    SideSettings settings;
    const auto say = [&](const QString &what) {
        const QString text = QStringLiteral("%1: %2").arg(shown(path), what);
        logOnce(text);
        if (error) {
            *error = text;
        }
    };
    const WholeFile::Contents file = WholeFile::read(path, MaxFileSize);
    switch (file.problem) {
    case WholeFile::Problem::None:
    case WholeFile::Problem::TooLarge:
        break;
    case WholeFile::Problem::Missing:
        return settings;
    case WholeFile::Problem::NotAFile:
    case WholeFile::Problem::CannotOpen:
        settings.m_unreadable = WholeFile::problemText(file, MaxFileSize);
        say(settings.m_unreadable + QStringLiteral("。既定値を使い、このファイルは書き換えません"));
        return settings;
    }
    QString damage;
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(file.bytes, &parseError);
    if (file.problem == WholeFile::Problem::TooLarge) {
        damage = QStringLiteral("%1 KiB を超えています").arg(MaxFileSize / 1024);
    } else if (parseError.error != QJsonParseError::NoError) {
        damage = QStringLiteral("JSON として読めません（%1 文字目: %2）").arg(parseError.offset).arg(parseError.errorString());
    } else if (!document.isObject()) {
        damage = QStringLiteral("JSON のオブジェクトではありません");
    }
    if (!damage.isEmpty()) {
        // Kept for whoever wants to look into it, and replaced at once, so
        // that no later save replaces it unseen and a phone that knows the
        // token still gets in.
        SideSettings fresh;
        fresh.remoteToken = tokenIn(file.bytes);
        const QString bad = path + QStringLiteral(".bad");
        const QString badName = QFileInfo(bad).fileName();
        // A rename replaces an older copy, a link there included, without
        // writing through it.
        if (std::rename(QFile::encodeName(path).constData(), QFile::encodeName(bad).constData()) != 0) {
            const QString why = QString::fromLocal8Bit(std::strerror(errno));
            fresh.m_unreadable = damage;
            say(QStringLiteral("%1。%2 として残せません（%3）。既定値を使い、このファイルは書き換えません")
                    .arg(damage, badName, why));
            return fresh;
        }
        // It may hold the token: only the user reads it, as the file itself.
        if (!QFileInfo(bad).isSymLink()) {
            QFile::setPermissions(bad, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
        QString saveError;
        if (!fresh.save(path, &saveError)) {
            std::rename(QFile::encodeName(bad).constData(), QFile::encodeName(path).constData());
            fresh.m_unreadable = damage;
            say(QStringLiteral("%1。既定値で作り直せません（%2）。既定値を使い、このファイルは書き換えません")
                    .arg(damage, saveError));
            return fresh;
        }
        fresh.m_keptAsBad = true;
        say(QStringLiteral("%1。%2 として残し、既定値で作り直しました。%3")
                .arg(damage, badName,
                     fresh.remoteToken.isEmpty() ? QStringLiteral("トークンは読み取れないので、次に要るときに新しく作ります")
                                                 : QStringLiteral("トークンは引き継ぎました")));
        return fresh;
    }
    settings.m_original = file.bytes;
    const QJsonObject remote = document.object().value(QStringLiteral("remote")).toObject();
    if (const QJsonValue enabled = remote.value(QStringLiteral("enabled")); enabled.isBool()) {
        settings.remoteEnabled = enabled.toBool();
    }
    if (const QJsonValue address = remote.value(QStringLiteral("address")); address.isString()) {
        settings.remoteAddress = address.toString();
    }
    const QJsonValue token = remote.value(QStringLiteral("token"));
    bool tokenReplaced = false;
    if (isValidToken(token.toString())) {
        settings.remoteToken = token.toString();
    } else if (!token.isUndefined() && token != QJsonValue(QString())) {
        // A guessable token is worse than none: the next start beyond this
        // machine would let anyone in with it.
        settings.ensureRemoteToken();
        tokenReplaced = true;
    }
    const QJsonObject display = document.object().value(QStringLiteral("display")).toObject();
    if (const int scale = display.value(QStringLiteral("scale")).toInt(); DisplayScale::isStep(scale)) {
        settings.displayScale = scale;
    }
    if (const QJsonValue fullScreen = display.value(QStringLiteral("fullScreen")); fullScreen.isBool()) {
        settings.displayFullScreen = fullScreen.toBool();
    }
    if (const std::optional<int> monitor =
            JsonNumber::whole(display.value(QStringLiteral("monitor")), 1, std::numeric_limits<int>::max())) {
        settings.displayMonitor = *monitor;
    }
    // Any other number keeps the default: the options offer only the three
    // faces.
    if (const std::optional<int> style = JsonNumber::whole(display.value(QStringLiteral("segmentStyle")), 0, 2)) {
        settings.displaySegmentStyle = *style;
    }
    const QString missingFare = display.value(QStringLiteral("missingFare")).toString();
    for (size_t i = 0; i < MissingFareWords.size(); ++i) {
        if (missingFare == QLatin1String(MissingFareWords[i])) {
            settings.displayMissingFare = static_cast<DegitFormat::MissingFare>(i);
        }
    }
    settings.displayStyle = DisplayStyles::fromWord(display.value(QStringLiteral("style")).toString(), settings.displayStyle);
    const QJsonObject panel = document.object().value(QStringLiteral("panel")).toObject();
    if (const int scale = panel.value(QStringLiteral("scale")).toInt(); DisplayScale::isPanelStep(scale)) {
        settings.panelScale = scale;
    }
    const QJsonValue radius = document.object().value(QStringLiteral("gps")).toObject().value(QStringLiteral("radius"));
    if (const int metres = radius.toInt(-1);
        metres >= MinGpsRadius && metres <= MaxGpsRadius) {
        settings.gpsRadius = metres;
    }
    if (const QJsonValue english = document.object().value(QStringLiteral("sound")).toObject().value(QStringLiteral("english"));
        english.isBool()) {
        settings.soundEnglish = english.toBool();
    }
    if (tokenReplaced) {
        QString saveError;
        if (settings.save(path, &saveError)) {
            say(QStringLiteral("トークンが 32 文字以上の英数字と _ - ではないので、新しく作りました"));
        } else {
            say(QStringLiteral("トークンが 32 文字以上の英数字と _ - ではないので新しく作りましたが、保存できません（%1）")
                    .arg(saveError));
        }
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
    display.insert(QStringLiteral("missingFare"),
                   QLatin1String(MissingFareWords.at(static_cast<size_t>(displayMissingFare))));
    display.insert(QStringLiteral("style"), DisplayStyles::word(displayStyle));
    root.insert(QStringLiteral("display"), display);
    QJsonObject panel = root.value(QStringLiteral("panel")).toObject();
    panel.insert(QStringLiteral("scale"), panelScale);
    root.insert(QStringLiteral("panel"), panel);
    QJsonObject gps = root.value(QStringLiteral("gps")).toObject();
    gps.insert(QStringLiteral("radius"), gpsRadius);
    root.insert(QStringLiteral("gps"), gps);
    QJsonObject sound = root.value(QStringLiteral("sound")).toObject();
    sound.insert(QStringLiteral("english"), soundEnglish);
    root.insert(QStringLiteral("sound"), sound);

    const auto fail = [&](const QString &why) {
        if (error) {
            *error = QStringLiteral("%1: %2").arg(shown(path), why);
        }
        return false;
    };
    if (!m_unreadable.isEmpty()) {
        return fail(QStringLiteral("読めなかったファイル（%1）は置き換えません").arg(m_unreadable));
    }
    // The entry itself, not where a link leads: a save never writes through
    // a link, and never replaces a device or a pipe someone put there.
    const QFileInfo entry(path);
    if (entry.isSymLink()) {
        return fail(QStringLiteral("シンボリックリンクです。リンクの先には書き込みません"));
    }
    if (entry.exists() && !entry.isFile()) {
        return fail(QStringLiteral("ファイルではないので置き換えません"));
    }
    if (!QDir().mkpath(entry.absolutePath())) {
        return fail(QStringLiteral("フォルダを作れません"));
    }
    // The token is a secret: only the user reads the file. The reason names
    // the file already.
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
