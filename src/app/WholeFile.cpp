#include "WholeFile.h"

#include <QFile>
#include <QFileInfo>

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
    // No more than the limit, even if the file grew since its size was read.
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        return {{}, Problem::CannotOpen, file.errorString()};
    }
    if (bytes.size() > maxBytes) {
        return {{}, Problem::TooLarge, {}};
    }
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
