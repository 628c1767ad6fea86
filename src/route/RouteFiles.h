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
    // What the save does to yomi.txt beyond adding: readings replaced.
    QStringList changes;
    // The readings merged into yomi.txt, merged again when it is written.
    QList<QPair<QString, QString>> readings;
};

struct MergedReadings
{
    QByteArray bytes;
    QStringList warnings; // readings left out
    QStringList changes;  // entries whose reading was replaced
};

// The announcement file's bytes: Shift_JIS, CR LF, a text quoted when it
// holds a comma, a quote or blanks at its ends. Nothing, with the
// announcement named in `error`, when a text cannot be written in CP932.
std::optional<QByteArray> tapeBytes(const QList<TapeRecord> &records, QString &error);

// The English announcement file "<route>tp.en.csv": the announcements of
// tapeBytes() with each text replaced by its English line (letters Shift_JIS
// lacks, such as macrons, written without their marks), so that it has as
// many lines as the Japanese file, in the same order. Empty when the route
// has no English line at all.
std::optional<QByteArray> englishTapeBytes(const RouteSource &source, QString &error);

// `existing` (the reading dictionary's Shift_JIS bytes, possibly empty) with
// the entries "written,reading" of `readings`: an entry for a written form
// the file reads otherwise takes the place of that line (said in
// `changes`), one the file lacks is added at the end, and every other line
// stays byte for byte. An entry CP932 cannot write, or one whose written
// form is longer than the dictionary looks up, is left out (said in
// `warnings`). Linear in the size of both.
MergedReadings mergedReadings(const QByteArray &existing, const QList<QPair<QString, QString>> &readings);

// False, with the reason naming the file and the limit in `error`, when
// `bytes` are more than the reader of file `name` takes (`limit`): such a
// file is never written.
bool fitsReader(const QString &name, const QByteArray &bytes, qint64 limit, QString &error);

// The readings a source gives: its stops' readings, then its reading fixes.
QList<QPair<QString, QString>> sourceReadings(const RouteSource &source);

// "<route>.hy3", "<route>tp.csv", "<route>tp.en.csv" when the route has
// English announcements, "yomi.txt" merged with the one in
// `folder`, and with `withSource` "<route>.route.json". Nothing, with the
// reason, when the route is refused (too many stops or ticket numbers, a
// fare no cell holds), a file cannot be built or would be larger than its
// reader takes, or the yomi.txt there cannot be read.
std::optional<Output> build(const RouteSource &source, const QList<QPair<QString, QString>> &readings,
                            const QString &folder, bool withSource, QString &error);

// Writes every file of `output`, all or nothing: the fare data into
// `fareFolder`, the others into `announcementFolder`. yomi.txt is merged
// again with what it holds by then, under a lock file beside it
// ("yomi.txt.lock") that every save of the editor and hy3tool takes, so
// that two saves into one folder never lose each other's readings;
// `output.changes` is updated. False with the reason, naming the file,
// when one cannot be written (a symbolic link where a file goes is
// refused, never written through) or the lock is held too long.
bool write(Output &output, const QString &fareFolder, const QString &announcementFolder, QString &error);
bool write(Output &output, const QString &folder, QString &error);

} // namespace RouteFiles
