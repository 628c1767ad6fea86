#include "In4Format.h"

#include "In4Layout.h"
#include "In4Reader.h"
#include "In4Writer.h"
#include "formats/Cp932.h"

#include <QStringList>

#include <limits>
#include <type_traits>

namespace In4Format {

QByteArray encode(const IniRecords &records)
{
    In4Writer writer;
    const qint16 degitCount = IniRecords::DegitCount;
    In4Layout::visit(records, degitCount, [&writer](const In4Field &, const auto &value) { writer.write(value); });
    return writer.bytes();
}

QList<In4Unwritable> keepWritable(IniRecords &records, const IniRecords &previous)
{
    qint16 degitCount = 0;
    QStringList before;
    In4Layout::visit(previous, degitCount, [&before](const In4Field &, const auto &value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, QString>) {
            before.append(value);
        }
    });
    QList<In4Unwritable> changed;
    qsizetype index = 0;
    In4Layout::visit(records, degitCount, [&](const In4Field &field, auto &value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, QString>) {
            const QString &old = before.at(index++);
            if (const std::optional<char32_t> character = Cp932::firstUnencodable(value)) {
                changed.append({field.name(), *character});
                value = Cp932::firstUnencodable(old) ? QString() : old;
            }
        }
    });
    return changed;
}

In4Decoded decode(const QByteArray &bytes, IniRecords records)
{
    In4Decoded decoded;
    decoded.records = std::move(records);
    In4Reader reader(bytes);
    // Read and ignored: the number of cell entries is fixed.
    qint16 degitCount = 0;
    In4Layout::visit(decoded.records, degitCount, [&](const In4Field &field, auto &value) {
        if (decoded.complete && !reader.read(value)) {
            decoded.complete = false;
            decoded.missingField = field.name();
            decoded.missingAt = reader.offset();
        }
    });
    return decoded;
}

qsizetype maxUsedBytes()
{
    IniRecords records;
    qint16 degitCount = 0;
    qsizetype total = 0;
    In4Layout::visit(records, degitCount, [&total](const In4Field &, const auto &value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, QString>) {
            total += qsizetype(sizeof(quint16)) + std::numeric_limits<quint16>::max();
        } else {
            total += qsizetype(sizeof(value));
        }
    });
    return total;
}

} // namespace In4Format
