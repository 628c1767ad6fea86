#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// A file of outside data read whole into memory, up to a limit far above any
// real file of its kind. A larger file is refused before it is read, and so
// is anything but a plain file (a device or a pipe could block or never end),
// so that a wrong path can neither take the memory nor hang the program.
namespace WholeFile {

enum class Problem { None, Missing, NotAFile, CannotOpen, TooLarge };

struct Contents
{
    // The file's bytes; empty when it was refused.
    QByteArray bytes;
    Problem problem = Problem::None;
    // The system's words for a file that cannot be opened or read.
    QString errorString;
};

Contents read(const QString &path, qint64 maxBytes);

// Why a file read with `maxBytes` was refused, as the operator reads it;
// empty when it was not.
QString problemText(const Contents &file, qint64 maxBytes);

} // namespace WholeFile
