#pragma once

#include "StopRecord.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// The fare data file of one route (".hy3"): a little-endian signed 16-bit
// count N, then N stop records, each the name's byte length (unsigned 16-bit),
// the code page 932 name, the ticket number and 150 signed 16-bit columns.
// Anything after record N is ignored.
namespace Hy3File {

inline constexpr int MaxRecords = 301;
// The longest a file can be and still have every byte count: 301 records
// with the longest names. A loader reads no further.
inline constexpr qsizetype MaxUsedBytes = 2 + MaxRecords * qsizetype(2 + 65535 + 2 + 2 * StopRecord::ColumnCount);

// What keeps a file from being loaded.
enum class Problem {
    None,
    NoCount,        // shorter than the two bytes of its count
    ZeroCount,      // N = 0: the route has no data
    NegativeCount,  // N below 0 (but not -32768)
    InvalidCount,   // N = -32768
    TooManyRecords, // N above 301
    RecordCut,      // the file ends inside a record
};

struct Contents
{
    // N as read (0 when the file has no count).
    qint16 count = 0;
    std::vector<StopRecord> records;
    Problem problem = Problem::None;
    // The 1-based record that is cut short (RecordCut only).
    int cutRecord = 0;
    // True when the cut record's name itself runs past the end of the file.
    bool cutInName = false;
    // Records (1-based) whose names hold bytes that are not code page 932;
    // those bytes read as "?".
    std::vector<int> damagedNames;
    // Bytes taken by the count and the records; the rest is ignored.
    qsizetype usedBytes = 0;
};

// Reads a whole file's bytes. Records are only read when the count is usable.
Contents parse(const QByteArray &bytes);
// The bytes of a file holding these records; nothing when a name cannot be
// written in code page 932, a name is longer than 65535 bytes or there are
// more than 301 records.
std::optional<QByteArray> serialize(const std::vector<StopRecord> &records);
// A sentence (Japanese) saying what is wrong, for a message box; empty for None.
QString problemText(const Contents &contents);

} // namespace Hy3File
