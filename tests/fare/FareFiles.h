#pragma once

#include "formats/Hy3File.h"
#include "formats/StopRecord.h"

#include <QFile>
#include <QString>

#include <vector>

// Fare data for tests: stops whose columns say where they come from.
namespace FareFiles {

// Stop n of a made-up route: name "停留所<n>", ticket number n, column c
// holding n * 100 + c (so every cell tells which stop and column it is).
inline StopRecord stop(int n)
{
    StopRecord record;
    record.name = QStringLiteral("停留所%1").arg(n);
    record.ticketNumber = static_cast<qint16>(n);
    for (int c = 1; c <= StopRecord::ColumnCount; ++c) {
        record.columns[static_cast<size_t>(c - 1)] = static_cast<qint16>(n * 100 + c);
    }
    return record;
}

inline std::vector<StopRecord> stops(int count)
{
    std::vector<StopRecord> records;
    for (int n = 1; n <= count; ++n) {
        records.push_back(stop(n));
    }
    return records;
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline bool writeStops(const QString &path, int count)
{
    return write(path, *Hy3File::serialize(stops(count)));
}

} // namespace FareFiles
