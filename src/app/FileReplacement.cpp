#include "FileReplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString named(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString systemError(int code)
{
    return qt_error_string(code);
}

// A name beside `path` that is not taken, for the temporary or the old file.
QString besideName(const QString &path, const char *kind)
{
    const quint32 random = QRandomGenerator::global()->generate();
    return QStringLiteral("%1.%2-%3").arg(path, QLatin1String(kind)).arg(random, 8, 16, QLatin1Char('0'));
}

bool writeWhole(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

mode_t modeOf(QFileDevice::Permissions permissions)
{
    mode_t mode = 0;
    const std::pair<QFileDevice::Permission, mode_t> bits[] = {
        {QFileDevice::ReadOwner, S_IRUSR}, {QFileDevice::WriteOwner, S_IWUSR}, {QFileDevice::ExeOwner, S_IXUSR},
        {QFileDevice::ReadGroup, S_IRGRP}, {QFileDevice::WriteGroup, S_IWGRP}, {QFileDevice::ExeGroup, S_IXGRP},
        {QFileDevice::ReadOther, S_IROTH}, {QFileDevice::WriteOther, S_IWOTH}, {QFileDevice::ExeOther, S_IXOTH},
    };
    for (const auto &[permission, bit] : bits) {
        if (permissions.testFlag(permission)) {
            mode |= bit;
        }
    }
    return mode;
}

} // namespace

FileReplacement::FileReplacement() = default;

FileReplacement::~FileReplacement()
{
    removeLeftovers();
}

QString FileReplacement::refusal(const QString &path)
{
    struct stat status{};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0) {
        return {};
    }
    if (S_ISLNK(status.st_mode)) {
        return QStringLiteral("%1: シンボリックリンクです。リンク先に書き込まないよう、保存しません").arg(named(path));
    }
    if (!S_ISREG(status.st_mode)) {
        return QStringLiteral("%1: ファイルではないものがあるため、保存しません").arg(named(path));
    }
    return {};
}

bool FileReplacement::fail(Problem problem, const QString &text)
{
    m_problem = problem;
    m_error = text;
    removeLeftovers();
    return false;
}

void FileReplacement::removeLeftovers()
{
    for (Entry &entry : m_entries) {
        if (!entry.placed && !entry.temporary.isEmpty()) {
            ::unlink(QFile::encodeName(entry.temporary).constData());
            entry.temporary.clear();
        }
        if (!entry.backup.isEmpty()) {
            ::unlink(QFile::encodeName(entry.backup).constData());
            entry.backup.clear();
        }
    }
}

bool FileReplacement::add(const QString &path, const QByteArray &bytes, QFileDevice::Permissions permissions)
{
    const QString target = QFileInfo(path).absoluteFilePath();
    if (const QString refused = refusal(target); !refused.isEmpty()) {
        return fail(Problem::Refused, refused);
    }
    // The old file's permissions go on; a new file gets what the umask allows.
    mode_t mode = 0666;
    bool keepMode = false;
    struct stat status{};
    if (::lstat(QFile::encodeName(target).constData(), &status) == 0) {
        mode = status.st_mode & 07777;
        keepMode = true;
    }
    if (permissions != QFileDevice::Permissions()) {
        mode = modeOf(permissions);
        keepMode = true;
    }
    // O_EXCL | O_NOFOLLOW: the temporary is a new file of our own, never a
    // name someone else prepared.
    QString temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = besideName(target, "new");
        fd = ::open(QFile::encodeName(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    keepMode ? (mode & 0600) : mode);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        return fail(Problem::CannotCreate,
                    QStringLiteral("%1: 書き込めません（%2）").arg(named(target), systemError(errno)));
    }
    m_entries.push_back({target, temporary, {}, false});
    const bool written = writeWhole(fd, bytes) && (!keepMode || ::fchmod(fd, mode) == 0) && ::fsync(fd) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        return fail(Problem::CannotWrite,
                    QStringLiteral("%1: 書き込めません（%2）").arg(named(target), systemError(written ? errno : writeError)));
    }
    return true;
}

QString FileReplacement::addWrittenByName(const QString &path)
{
    if (!add(path, QByteArray())) {
        return {};
    }
    m_entries.back().writtenByName = true;
    return m_entries.back().temporary;
}

bool FileReplacement::commit()
{
    if (m_problem != Problem::None) {
        return false;
    }
    for (const Entry &entry : m_entries) {
        if (!entry.writtenByName) {
            continue;
        }
        const int fd = ::open(QFile::encodeName(entry.temporary).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        const bool synced = fd >= 0 && ::fsync(fd) == 0;
        const int code = errno;
        if (fd >= 0) {
            ::close(fd);
        }
        if (!synced) {
            return fail(Problem::CannotWrite,
                        QStringLiteral("%1: 書き込めません（%2）").arg(named(entry.path), systemError(code)));
        }
    }
    // Whatever is in the way now (a link, a folder) is refused before any
    // file is put in place.
    for (const Entry &entry : m_entries) {
        if (const QString refused = refusal(entry.path); !refused.isEmpty()) {
            return fail(Problem::Refused, refused);
        }
    }
    // With more than one file, each old file keeps a second name until all
    // are in place, to be put back if one fails.
    if (m_entries.size() > 1) {
        for (Entry &entry : m_entries) {
            if (QFileInfo::exists(entry.path)) {
                const QString backup = besideName(entry.path, "old");
                if (::link(QFile::encodeName(entry.path).constData(), QFile::encodeName(backup).constData()) != 0) {
                    return fail(Problem::CannotWrite,
                                QStringLiteral("%1: 書き込めません（%2）").arg(named(entry.path), systemError(errno)));
                }
                entry.backup = backup;
            }
        }
    }
    for (Entry &entry : m_entries) {
        // rename() replaces a link put there since, never what it points at.
        if (::rename(QFile::encodeName(entry.temporary).constData(), QFile::encodeName(entry.path).constData()) != 0) {
            const int code = errno;
            rollBack();
            return fail(Problem::CannotWrite,
                        QStringLiteral("%1: 書き込めません（%2）").arg(named(entry.path), systemError(code)));
        }
        entry.placed = true;
    }
    // The renames themselves reach the disk.
    QStringList folders;
    for (const Entry &entry : m_entries) {
        const QString folder = QFileInfo(entry.path).absolutePath();
        if (!folders.contains(folder)) {
            folders << folder;
            const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0) {
                ::fsync(fd);
                ::close(fd);
            }
        }
    }
    removeLeftovers();
    return true;
}

void FileReplacement::rollBack()
{
    for (Entry &entry : m_entries) {
        if (!entry.placed) {
            continue;
        }
        if (!entry.backup.isEmpty()) {
            if (::rename(QFile::encodeName(entry.backup).constData(), QFile::encodeName(entry.path).constData()) == 0) {
                entry.backup.clear();
            }
        } else {
            ::unlink(QFile::encodeName(entry.path).constData());
        }
        entry.placed = false;
        entry.temporary.clear(); // renamed away: nothing left to remove
    }
}

bool FileReplacement::write(const QString &path, const QByteArray &bytes, QString *error,
                            QFileDevice::Permissions permissions)
{
    FileReplacement replacement;
    if (replacement.add(path, bytes, permissions) && replacement.commit()) {
        return true;
    }
    if (error) {
        *error = replacement.errorString();
    }
    return false;
}
