#pragma once

#include "settings/IniRecords.h"

#include <QByteArray>
#include <QList>
#include <QString>

// What reading a settings file's bytes gave: the records as far as the bytes
// went (every field either read whole or left as it was) and, for a file that
// ends early, the field that did not fit.
struct In4Decoded
{
    IniRecords records;
    bool complete = true;
    // The name and offset of the first field that did not fit.
    QString missingField;
    qsizetype missingAt = 0;
};

// A string field whose text has a character without a code page 932 form.
struct In4Unwritable
{
    QString field;
    char32_t character = 0;
};

// The byte layout of the settings file.
namespace In4Format {

// The eleven blocks, block 10 as 98.
QByteArray encode(const IniRecords &records);
// Gives every string field that the file cannot hold as it stands the value
// of the same field in `previous` (empty when that cannot be held either),
// and lists the fields it changed.
QList<In4Unwritable> keepWritable(IniRecords &records, const IniRecords &previous);
// Reads the blocks in order over `records`; each string read replaces the one
// held before. Bytes after the last block are ignored.
In4Decoded decode(const QByteArray &bytes, IniRecords records = {});
// The longest a file can be and still have every byte count: every string
// at its longest. A loader reads no further.
qsizetype maxUsedBytes();

} // namespace In4Format
