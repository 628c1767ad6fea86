#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

// One announcement of a route: the words to speak and its two flags.
struct TapeRecord
{
    QString Text;
    // 1: after this announcement the fare display steps one stop too.
    qint16 StepFlag = 0;
    // 1, 2 or 3 picks the sound played before the announcement.
    qint16 SoundFlag = 0;

    bool operator==(const TapeRecord &) const = default;
};

// A line of an announcement file that cannot be read, and why.
struct TapeLineError
{
    int line = 0; // 1-based
    QString reason;
};

struct TapeCsvContents
{
    QList<TapeRecord> records;
    QList<TapeLineError> errors; // empty when every line was read
    // Set when read from a file: its path, and why it could not be read at
    // all (missing, too large, ...), empty when it was.
    QString path;
    QString fileProblem;

    // Why the file cannot be loaded, in one line that names the file, the
    // first line that cannot be read and what is wrong with it; empty when
    // the file can be loaded.
    QString problemText() const;
};

// The announcement data file "<route number>tp.csv": Shift_JIS text, one
// announcement per line, each line `Text,StepFlag,SoundFlag`.
//
// Reading rules, strict so that a mistake never turns into a garbled
// announcement:
// - Lines end in CR LF (a bare LF is accepted too). Blank lines at the very
//   end of the file are ignored; a blank line between announcements is an
//   error, since it would shift every announcement after it.
// - Exactly three fields separated by commas.
// - The text may be enclosed in double quotes and then hold commas; a doubled
//   quote inside stands for one quote character. Spaces around a field are
//   dropped; the text may be empty (a record that only steps the fares).
// - Each flag is a whole number from -32768 to 32767, optionally signed, with
//   nothing else in its field.
// - Every character must be valid Shift_JIS (CP932).
class TapeCsv
{
public:
    // Far more than the announcements of any route take; a larger file is
    // refused unread.
    static constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;

    // Reads and parses the file at `path`.
    static TapeCsvContents readFile(const QString &path);

    // Reads every line and collects every error, so that a checking tool can
    // report them all at once.
    static TapeCsvContents parse(const QByteArray &bytes);

    // The file of a route: `folder` + route number + "tp.csv". A folder
    // without a trailing separator gets one. Where no file has exactly that
    // name, a file in the same folder whose name differs only in letter case
    // is taken ("12Tp.csv" copied from a Windows machine).
    static QString filePath(const QString &folder, const QString &routeNumber);
    // The English lines of those announcements, "<route number>tp.en.csv"
    // beside it, found alike: the same format, a line for each line.
    static QString englishFilePath(const QString &folder, const QString &routeNumber);

private:
    static QString pathOf(const QString &folder, const QString &name);
};
