#pragma once

#include "RouteSource.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// The files a route source becomes, built in memory first and written only
// when every one of them could be built, each through a temporary file
// renamed into place, so that a refused or failed build leaves the folder as
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
// `warnings`); an entry CP932 cannot write is left out (said too).
QByteArray mergedReadings(const QByteArray &existing, const QList<QPair<QString, QString>> &readings,
                          QStringList &warnings);

// The readings a source gives: its stops' readings, then its reading fixes.
QList<QPair<QString, QString>> sourceReadings(const RouteSource &source);

// "<route>.hy3", "<route>tp.csv", "yomi.txt" merged with the one in
// `folder`, and with `withSource` "<route>.route.json". Nothing, with the
// reason, when the route is refused (too many stops or ticket numbers) or a
// file cannot be built.
std::optional<Output> build(const RouteSource &source, const QList<QPair<QString, QString>> &readings,
                            const QString &folder, bool withSource, QString &error);

// Writes every file of `output` into `folder`; false with the reason when a
// file cannot be written (the files already renamed into place stay).
bool write(const Output &output, const QString &folder, QString &error);

} // namespace RouteFiles
