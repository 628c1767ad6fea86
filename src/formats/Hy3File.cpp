#include "Hy3File.h"

#include "formats/Cp932.h"

#include <QtEndian>

#include <limits>

namespace Hy3File {

namespace {

// Bytes of a record besides its name: name length, ticket number, columns.
constexpr qsizetype RecordFixedBytes = 2 + 2 + 2 * StopRecord::ColumnCount;

qint16 readShort(const char *at)
{
    return qFromLittleEndian<qint16>(at);
}

void appendShort(QByteArray &bytes, qint16 value)
{
    char le[2];
    qToLittleEndian<qint16>(value, le);
    bytes.append(le, 2);
}

Problem countProblem(qint16 count)
{
    if (count == 0) {
        return Problem::ZeroCount;
    }
    if (count == std::numeric_limits<qint16>::min()) {
        return Problem::InvalidCount;
    }
    if (count < 0) {
        return Problem::NegativeCount;
    }
    if (count > MaxRecords) {
        return Problem::TooManyRecords;
    }
    return Problem::None;
}

} // namespace

Contents parse(const QByteArray &bytes)
{
    Contents contents;
    if (bytes.size() < 2) {
        contents.problem = Problem::NoCount;
        return contents;
    }
    contents.count = readShort(bytes.constData());
    contents.problem = countProblem(contents.count);
    if (contents.problem != Problem::None) {
        return contents;
    }
    contents.records.reserve(static_cast<size_t>(contents.count));
    const char *data = bytes.constData();
    qsizetype at = 2;
    for (int n = 1; n <= contents.count; ++n) {
        const qsizetype left = bytes.size() - at;
        const qsizetype nameLength = left >= 2 ? qFromLittleEndian<quint16>(data + at) : -1;
        if (nameLength < 0 || left < RecordFixedBytes + nameLength) {
            contents.problem = Problem::RecordCut;
            contents.cutRecord = n;
            contents.cutInName = nameLength >= 0 && left < 2 + nameLength;
            contents.records.clear();
            return contents;
        }
        StopRecord record;
        const QByteArray nameBytes = QByteArray::fromRawData(data + at + 2, nameLength);
        record.name = Cp932::decodeMarkingInvalid(nameBytes);
        if (record.name.contains(QLatin1Char('?')) && Cp932::encodeExactly(record.name) != nameBytes) {
            contents.damagedNames.push_back(n);
        }
        at += 2 + nameLength;
        record.ticketNumber = readShort(data + at);
        at += 2;
        for (qint16 &column : record.columns) {
            column = readShort(data + at);
            at += 2;
        }
        contents.records.push_back(std::move(record));
    }
    contents.usedBytes = at;
    return contents;
}

std::optional<QByteArray> serialize(const std::vector<StopRecord> &records)
{
    if (records.size() > static_cast<size_t>(MaxRecords)) {
        return std::nullopt;
    }
    QByteArray bytes;
    appendShort(bytes, static_cast<qint16>(records.size()));
    for (const StopRecord &record : records) {
        const std::optional<QByteArray> name = Cp932::encodeExactly(record.name);
        if (!name || name->size() > std::numeric_limits<quint16>::max()) {
            return std::nullopt;
        }
        char length[2];
        qToLittleEndian<quint16>(static_cast<quint16>(name->size()), length);
        bytes.append(length, 2);
        bytes.append(*name);
        appendShort(bytes, record.ticketNumber);
        for (const qint16 column : record.columns) {
            appendShort(bytes, column);
        }
    }
    return bytes;
}

QString problemText(const Contents &contents)
{
    switch (contents.problem) {
    case Problem::None:
        return {};
    case Problem::NoCount:
        return QStringLiteral("データファイルが短すぎて、データの数を読めません。");
    case Problem::ZeroCount:
        return QStringLiteral("データの数が0です。");
    case Problem::NegativeCount:
        return QStringLiteral("データの数(%1)が負の値です。").arg(contents.count);
    case Problem::InvalidCount:
        return QStringLiteral("データの数(%1)が不正です。").arg(contents.count);
    case Problem::TooManyRecords:
        return QStringLiteral("データの数(%1)が多すぎます。扱えるのは%2件までです。")
            .arg(contents.count)
            .arg(MaxRecords);
    case Problem::RecordCut:
        return contents.cutInName
            ? QStringLiteral("データファイルが途中で切れています。%1件目の停名がファイルの終わりを越えています（データの数：%2）。")
                  .arg(contents.cutRecord)
                  .arg(contents.count)
            : QStringLiteral("データファイルが途中で切れています。%1件目のデータが足りません（データの数：%2）。")
                  .arg(contents.cutRecord)
                  .arg(contents.count);
    }
    return {};
}

} // namespace Hy3File
