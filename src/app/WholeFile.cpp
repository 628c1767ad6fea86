#include "WholeFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace WholeFile {

Contents read(const QString &path, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        return {{}, Problem::Missing, {}};
    }
    if (!info.isFile()) {
        return {{}, Problem::NotAFile, {}};
    }
    if (info.size() > maxBytes) {
        return {{}, Problem::TooLarge, {}};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {{}, Problem::CannotOpen, file.errorString()};
    }
    // A buffer of the file's size, not of the limit, which may be far above
    // it; one byte more tells a file that grew past the limit since its size
    // was read.
    QByteArray bytes(std::min(info.size(), maxBytes) + 1, Qt::Uninitialized);
    qint64 got = 0;
    while (got < bytes.size()) {
        const qint64 read = file.read(bytes.data() + got, bytes.size() - got);
        if (read < 0) {
            return {{}, Problem::CannotOpen, file.errorString()};
        }
        if (read == 0) {
            break;
        }
        got += read;
        if (got == bytes.size() && got <= maxBytes) {
            bytes.resize(std::min(got * 2, maxBytes + 1));
        }
    }
    if (got > maxBytes) {
        return {{}, Problem::TooLarge, {}};
    }
    bytes.resize(got);
    return {std::move(bytes), Problem::None, {}};
}

QString problemText(const Contents &file, qint64 maxBytes)
{
    switch (file.problem) {
    case Problem::None:
        break;
    case Problem::Missing:
        return QStringLiteral("ファイルがありません");
    case Problem::NotAFile:
        return QStringLiteral("ファイルではありません");
    case Problem::CannotOpen:
        return QStringLiteral("読み込めません（%1）").arg(file.errorString);
    case Problem::TooLarge:
        return QStringLiteral("ファイルが %1 MB を超えています").arg(maxBytes / (1024 * 1024));
    }
    return {};
}

} // namespace WholeFile
