#pragma once

#include <QString>

// How a writer puts one field of comma-separated text so that CsvReader
// gives it back as it was written.
namespace CsvField {

// The field in double quotes, each quote inside doubled.
QString quoted(const QString &text);

// The field as it is, or quoted when the reader would otherwise change it:
// a comma or a quote in it, or white space at either end, which the reader
// trims from unquoted fields.
QString quotedIfNeeded(const QString &text);

} // namespace CsvField
