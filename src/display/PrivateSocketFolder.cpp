#include "PrivateSocketFolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t PrivateMode = 0700;

QString shown(const QString &folder)
{
    return QDir::toNativeSeparators(folder);
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QString PrivateSocketFolder::problem(const QString &folder)
{
    const QByteArray native = QFile::encodeName(folder);
    // The entry itself: a link could lead anywhere, even to a folder of ours
    // that another account can rename or replace.
    struct stat info = {};
    if (::lstat(native.constData(), &info) != 0) {
        return QStringLiteral("フォルダ %1 を調べられません（%2）").arg(shown(folder), systemError(errno));
    }
    if (S_ISLNK(info.st_mode)) {
        return QStringLiteral("%1 はシンボリックリンクです").arg(shown(folder));
    }
    if (!S_ISDIR(info.st_mode)) {
        return QStringLiteral("%1 はフォルダではありません").arg(shown(folder));
    }
    if (info.st_uid != ::geteuid()) {
        return QStringLiteral("フォルダ %1 は別のユーザー（uid %2）のものです").arg(shown(folder)).arg(info.st_uid);
    }
    if ((info.st_mode & 07777) != PrivateMode) {
        return QStringLiteral("フォルダ %1 のアクセス権が %2 です（0700 でなければなりません）")
            .arg(shown(folder))
            .arg(info.st_mode & 07777, 4, 8, QLatin1Char('0'));
    }
    return {};
}

QString PrivateSocketFolder::path(QString *problem)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && PrivateSocketFolder::problem(runtime).isEmpty()) {
        return QDir::cleanPath(runtime);
    }
    const QString folder = QDir(QDir::tempPath()).filePath(QStringLiteral("tavelo-%1").arg(::geteuid()));
    const QByteArray native = QFile::encodeName(folder);
    // Made without access for others from the start; the umask can take
    // rights away, so they are set once it exists.
    if (::mkdir(native.constData(), PrivateMode) == 0) {
        ::chmod(native.constData(), PrivateMode);
    } else if (errno != EEXIST) {
        if (problem) {
            *problem = QStringLiteral("フォルダ %1 を作れません（%2）").arg(shown(folder), systemError(errno));
        }
        return {};
    }
    // One that was there already may be another account's, made to catch
    // this user's sockets: it is used only if it is this user's alone.
    if (QString why = PrivateSocketFolder::problem(folder); !why.isEmpty()) {
        if (problem) {
            *problem = why;
        }
        return {};
    }
    return folder;
}
