#include "TapeCsv.h"

#include "app/WholeFile.h"
#include "formats/Cp932.h"
#include "formats/CsvReader.h"

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

QString TapeCsvContents::problemText() const
{
    const QString file = QStringLiteral("放送用データ %1 を読み込めません。").arg(path);
    if (!fileProblem.isEmpty()) {
        return file + fileProblem;
    }
    if (errors.isEmpty()) {
        return {};
    }
    QString text = file + QStringLiteral("%1 行目: %2").arg(errors.first().line).arg(errors.first().reason);
    if (errors.size() > 1) {
        text += QStringLiteral("（ほかに %1 行の誤りがあります）").arg(errors.size() - 1);
    }
    return text;
}

TapeCsvContents TapeCsv::readFile(const QString &path)
{
    const WholeFile::Contents file = WholeFile::read(path, MaxFileBytes);
    TapeCsvContents contents = parse(file.bytes);
    contents.path = QFileInfo(path).absoluteFilePath();
    contents.fileProblem = WholeFile::problemText(file, TapeCsv::MaxFileBytes);
    return contents;
}

TapeCsvContents TapeCsv::parse(const QByteArray &bytes)
{
    // The lines are looked at in place, so the file is not copied whole.
    QList<QByteArrayView> lines;
    for (qsizetype start = 0; start < bytes.size();) {
        const qsizetype newline = bytes.indexOf('\n', start);
        const qsizetype end = newline < 0 ? bytes.size() : newline;
        QByteArrayView line(bytes.constData() + start, end - start);
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        lines.append(line);
        start = end + 1;
    }
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) {
        lines.removeLast();
    }

    TapeCsvContents contents;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView bytesOfLine = lines.at(i);
        const std::optional<QString> line
            = Cp932::decodeExactly(QByteArray::fromRawData(bytesOfLine.data(), bytesOfLine.size()));
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
    return pathOf(folder, routeNumber + QStringLiteral("tp.csv"));
}

QString TapeCsv::englishFilePath(const QString &folder, const QString &routeNumber)
{
    return pathOf(folder, routeNumber + QStringLiteral("tp.en.csv"));
}

QString TapeCsv::pathOf(const QString &folder, const QString &name)
{
    QString prefix = folder;
    if (!prefix.isEmpty() && !prefix.endsWith(u'/') && !prefix.endsWith(u'\\')) {
        prefix += u'/';
    }
    const QString exact = prefix + name;
    const QFileInfo info(exact);
    if (info.exists()) {
        return exact;
    }
    const QDir dir = info.dir();
    const QStringList sameButCase = dir.entryList({info.fileName()}, QDir::Files, QDir::Name);
    return sameButCase.isEmpty() ? exact : dir.filePath(sameButCase.first());
}
