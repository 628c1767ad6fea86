#include "FareCsv.h"

#include "Hy3File.h"
#include "formats/Cp932.h"
#include "formats/CsvField.h"
#include "formats/CsvReader.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <limits>
#include <optional>

namespace FareCsv {

namespace {

constexpr qsizetype MaxFields = 2 + StopRecord::ColumnCount;

std::optional<qint16> shortValue(const QString &field)
{
    bool ok = false;
    const int value = field.trimmed().toInt(&ok);
    if (!ok || value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max()) {
        return std::nullopt;
    }
    return static_cast<qint16>(value);
}

// How many values of a line are named one by one before the rest are counted.
constexpr int NamedBadValues = 5;

// The record of one line, or every reason it cannot be one.
std::optional<StopRecord> parseLine(const QString &line, QStringList &reasons)
{
    const CsvReader::Record split = CsvReader::splitLine(line, {.trimBlanks = false, .keepFields = MaxFields + 1});
    if (split.problem == CsvReader::Problem::OpenQuote) {
        reasons << QStringLiteral("引用符（\"）が閉じていません。");
        return std::nullopt;
    }
    if (split.problem == CsvReader::Problem::TextAfterQuote) {
        reasons << QStringLiteral("閉じた引用符（\"）の後に余分な文字があります。");
        return std::nullopt;
    }
    if (split.count < 2) {
        reasons << QStringLiteral("停名と整理券番号が必要です。");
    }
    if (split.count > MaxFields) {
        reasons << QStringLiteral("列が多すぎます（%1列、最大%2列）。").arg(split.count - 2).arg(StopRecord::ColumnCount);
    }
    const QStringList &fields = split.fields;
    StopRecord record;
    record.name = fields.at(0);
    const std::optional<QByteArray> name = Cp932::encodeExactly(record.name);
    if (!name) {
        reasons << QStringLiteral("停名「%1」はシフトJIS（CP932）で書けない文字を含みます。").arg(record.name);
    } else if (name->size() > std::numeric_limits<quint16>::max()) {
        reasons << QStringLiteral("停名が長すぎます。");
    }
    int badValues = 0;
    for (qsizetype i = 1; i < std::min(fields.size(), MaxFields); ++i) {
        const std::optional<qint16> value = shortValue(fields.at(i));
        if (!value) {
            if (++badValues <= NamedBadValues) {
                const QString what = i == 1 ? QStringLiteral("整理券番号") : QStringLiteral("%1列目").arg(i - 1);
                reasons << QStringLiteral("%1の値「%2」は -32768 から 32767 の整数ではありません。").arg(what, fields.at(i));
            }
        } else if (i == 1) {
            record.ticketNumber = *value;
        } else {
            record.columns[static_cast<size_t>(i - 2)] = *value;
        }
    }
    if (badValues > NamedBadValues) {
        reasons << QStringLiteral("ほかに %1 個の値が -32768 から 32767 の整数ではありません。").arg(badValues - NamedBadValues);
    }
    if (!reasons.isEmpty()) {
        return std::nullopt;
    }
    return record;
}

// The 1-based line of the first bytes that are not UTF-8; nothing when all are.
std::optional<int> firstNonUtf8Line(const QByteArray &bytes)
{
    int line = 1;
    for (const QByteArray &text : bytes.split('\n')) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        [[maybe_unused]] const QString decoded = utf8.decode(text);
        if (utf8.hasError()) {
            return line;
        }
        ++line;
    }
    return std::nullopt;
}

// A stop name as a field. Besides what any field needs, a name starting
// with '#' is quoted (unquoted, the line would read as a comment), and an
// empty name is written "" so that the record still shows its name field.
QString quotedStopName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(u'#')) {
        return CsvField::quoted(name);
    }
    return CsvField::quotedIfNeeded(name);
}

} // namespace

FareCsvContents parse(const QByteArray &utf8)
{
    FareCsvContents contents;
    if (const std::optional<int> line = firstNonUtf8Line(utf8)) {
        // Read as UTF-8, every name of a Shift_JIS file would be refused one by one.
        contents.errors.push_back({*line, Cp932::decodeExactly(utf8)
                                              ? QStringLiteral("このファイルは UTF-8 ではありません（シフトJIS のようです）。"
                                                               "UTF-8 で保存し直してください。")
                                              : QStringLiteral("このファイルは UTF-8 ではありません。"
                                                               "UTF-8 で保存し直してください。")});
        return contents;
    }
    QString text = QString::fromUtf8(utf8);
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const int lineNumber = static_cast<int>(i) + 1;
        QStringList reasons;
        if (std::optional<StopRecord> record = parseLine(line, reasons)) {
            if (contents.records.size() == static_cast<size_t>(Hy3File::MaxRecords)) {
                contents.errors.push_back(
                    {lineNumber, QStringLiteral("停留所が多すぎます（最大%1件）。").arg(Hy3File::MaxRecords)});
                break;
            }
            contents.records.push_back(std::move(*record));
        } else {
            for (const QString &reason : std::as_const(reasons)) {
                contents.errors.push_back({lineNumber, reason});
            }
        }
    }
    return contents;
}

QByteArray write(const std::vector<StopRecord> &records)
{
    QString text = QStringLiteral("# 停名,整理券番号");
    for (int c = 1; c <= StopRecord::ColumnCount; ++c) {
        text += QStringLiteral(",%1").arg(c);
    }
    text += QLatin1Char('\n');
    for (const StopRecord &record : records) {
        text += quotedStopName(record.name) + QLatin1Char(',') + QString::number(record.ticketNumber);
        for (const qint16 column : record.columns) {
            text += QLatin1Char(',') + QString::number(column);
        }
        text += QLatin1Char('\n');
    }
    return text.toUtf8();
}

} // namespace FareCsv
