#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <span>

// Feeds any bytes to one reader of outside data and checks what it gives
// back: no crash, nothing kept that the bytes could not have held, and what
// was read survives being written and read again. The libFuzzer targets and
// the corpus replay among the tests share these, so a case found by fuzzing
// is replayed by exactly the code that found it.
namespace ReaderChecks {

// Empty when the reader behaved; otherwise what went wrong.
using Check = QString (*)(QByteArrayView bytes);

struct Reader
{
    // The folder name of its seeds and regression cases under fuzz/.
    const char *name;
    Check check;
};

QString hy3(QByteArrayView bytes);
QString fareCsv(QByteArrayView bytes);
QString tapeCsv(QByteArrayView bytes);
QString readingDictionary(QByteArrayView bytes);
QString settings(QByteArrayView bytes);
QString ticketDescription(QByteArrayView bytes);
QString gtfsTable(QByteArrayView bytes);
QString routeSource(QByteArrayView bytes);

std::span<const Reader> all();

// The body of a libFuzzer target: runs the check and aborts with its
// message, so libFuzzer keeps the input as a crash.
int abortOnProblem(Check check, const uint8_t *data, size_t size);

} // namespace ReaderChecks
