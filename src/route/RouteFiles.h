#pragma once

#include "RouteSource.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// The files a route source becomes, built in memory first and written only
// when every one of them could be built, all together or none (see
// FileReplacement), so that a refused or failed build leaves the folder as
// it was.
namespace RouteFiles {

struct Output
{
    QList<QPair<QString, QByteArray>> files; // file name in the folder -> bytes
    QStringList warnings;
};

// The announcement file's bytes: Shift_JIS, CR LF, a text quoted when it
// holds a comma, a quote or blanks at its ends. Nothing, with the
// announcement named in `error`, when a text cannot be written in CP932.
std::optional<QByteArray> tapeBytes(const QList<TapeRecord> &records, QString &error);

// `existing` (the reading dictionary's Shift_JIS bytes, possibly empty) with
// an entry "written,reading" added for each written form it lacks. Existing
// entries are kept as they are, also when they read differently (said in
// `warnings`); an entry CP932 cannot write, or one whose written form is
// longer than the dictionary looks up, is left out (said too). Linear in
// the size of both.
QByteArray mergedReadings(const QByteArray &existing, const QList<QPair<QString, QString>> &readings,
                          QStringList &warnings);

// False, with the reason naming the file and the limit in `error`, when
// `bytes` are more than the reader of file `name` takes (`limit`): such a
// file is never written.
bool fitsReader(const QString &name, const QByteArray &bytes, qint64 limit, QString &error);

// The readings a source gives: its stops' readings, then its reading fixes.
QList<QPair<QString, QString>> sourceReadings(const RouteSource &source);

// "<route>.hy3", "<route>tp.csv", "yomi.txt" merged with the one in
// `folder`, and with `withSource` "<route>.route.json". Nothing, with the
// reason, when the route is refused (too many stops or ticket numbers, a
// fare no cell holds), a file cannot be built or would be larger than its
// reader takes, or the yomi.txt there cannot be read.
std::optional<Output> build(const RouteSource &source, const QList<QPair<QString, QString>> &readings,
                            const QString &folder, bool withSource, QString &error);

// Writes every file of `output` into `folder`, all or nothing; false with
// the reason, naming the file, when one cannot be written (a symbolic link
// where a file goes is refused, never written through).
bool write(const Output &output, const QString &folder, QString &error);

} // namespace RouteFiles
