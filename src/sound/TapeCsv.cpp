#include "TapeCsv.h"

#include "companion/Cp932.h"
#include "route/CsvReader.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {

constexpr qsizetype FieldsPerRecord = 3;

// A flag field: a whole number in the signed 16-bit range and nothing else.
std::optional<qint16> parseFlag(const QString &field)
{
    bool ok = false;
    const int value = field.toInt(&ok, 10);
    if (!ok || value < -32768 || value > 32767) {
        return std::nullopt;
    }
    return static_cast<qint16>(value);
}

QString parseRecord(const QString &line, TapeRecord &record)
{
    if (line.trimmed().isEmpty()) {
        return QStringLiteral("空行です");
    }
    const CsvReader::Record split =
        CsvReader::splitLine(line, {.trimBlanks = true, .keepFields = FieldsPerRecord + 1});
    if (split.problem == CsvReader::Problem::OpenQuote) {
        return QStringLiteral("「\"」が閉じていません");
    }
    if (split.problem == CsvReader::Problem::TextAfterQuote) {
        return QStringLiteral("閉じた「\"」の後に余分な文字があります");
    }
    if (split.count != FieldsPerRecord) {
        return QStringLiteral("項目が3つではありません（%1個）").arg(split.count);
    }
    const std::optional<qint16> stepFlag = parseFlag(split.fields.at(1));
    if (!stepFlag) {
        return QStringLiteral("2番目の項目（データ送りフラグ）が -32768～32767 の整数ではありません：「%1」")
            .arg(split.fields.at(1));
    }
    const std::optional<qint16> soundFlag = parseFlag(split.fields.at(2));
    if (!soundFlag) {
        return QStringLiteral("3番目の項目（サウンドフラグ）が -32768～32767 の整数ではありません：「%1」")
            .arg(split.fields.at(2));
    }
    record.Text = split.fields.at(0);
    record.StepFlag = *stepFlag;
    record.SoundFlag = *soundFlag;
    return {};
}

} // namespace

TapeCsvContents TapeCsv::parse(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) {
        lines.removeLast();
    }

    TapeCsvContents contents;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QString> line = Cp932::decodeExactly(lines.at(i));
        QString error;
        TapeRecord record;
        if (!line) {
            error = QStringLiteral("Shift_JIS として読めない文字があります");
        } else {
            error = parseRecord(*line, record);
        }
        if (error.isEmpty()) {
            contents.records.append(record);
        } else {
            contents.errors.append({static_cast<int>(i + 1), error});
        }
    }
    return contents;
}

QString TapeCsv::filePath(const QString &folder, const QString &routeNumber)
{
    QString prefix = folder;
    if (!prefix.isEmpty() && !prefix.endsWith(u'/') && !prefix.endsWith(u'\\')) {
        prefix += u'/';
    }
    const QString exact = prefix + routeNumber + QStringLiteral("tp.csv");
    const QFileInfo info(exact);
    if (info.exists()) {
        return exact;
    }
    const QDir dir = info.dir();
    const QStringList sameButCase = dir.entryList({info.fileName()}, QDir::Files, QDir::Name);
    return sameButCase.isEmpty() ? exact : dir.filePath(sameButCase.first());
}
