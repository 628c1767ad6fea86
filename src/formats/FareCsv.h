#pragma once

#include "StopRecord.h"

#include <QByteArray>
#include <QString>

#include <vector>

// A line of a fare CSV that cannot become a stop record.
struct FareCsvError
{
    int line = 0; // 1-based
    QString reason;
};

struct FareCsvContents
{
    std::vector<StopRecord> records;
    std::vector<FareCsvError> errors;
};

// The text form of fare data for its authors: UTF-8, one stop to a line,
// "stop name, ticket number, column 1, ..., column 150". Columns left off at
// the end of a line are 0. A field may be quoted ("..." with "" for a quote).
// Blank lines and lines starting with "#" are skipped.
namespace FareCsv {

// Every line that would not fit a fare data file is an error, once for each
// thing wrong with it: a name that code page 932 cannot write, a value
// outside 16 bits, more than 150 columns, more than 301 stops. Bytes that
// are not UTF-8 make the whole file one error that says so.
FareCsvContents parse(const QByteArray &utf8);
// The CSV of these records, a comment line naming the columns first, all
// 150 columns on every line.
QByteArray write(const std::vector<StopRecord> &records);

} // namespace FareCsv
