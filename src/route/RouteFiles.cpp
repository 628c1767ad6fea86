#include "RouteFiles.h"

#include "RouteBuilder.h"
#include "companion/Cp932.h"
#include "fare/Hy3File.h"
#include "sound/ReadingDictionary.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <memory>

namespace RouteFiles {

namespace {

QString quotedIfNeeded(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && text.trimmed() == text) {
        return text;
    }
    QString escaped = text;
    escaped.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

} // namespace

std::optional<QByteArray> tapeBytes(const QList<TapeRecord> &records, QString &error)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const TapeRecord &record = records.at(i);
        const QString line = quotedIfNeeded(record.Text) + QStringLiteral(",%1,%2\r\n").arg(record.StepFlag).arg(record.SoundFlag);
        const std::optional<QByteArray> encoded = Cp932::encodeExactly(line);
        if (!encoded || record.Text.contains(u'\n') || record.Text.contains(u'\r')) {
            error = QStringLiteral("放送 %1「%2」はシフトJIS（CP932）の1行に書けません").arg(i + 1).arg(record.Text);
            return std::nullopt;
        }
        bytes += *encoded;
    }
    return bytes;
}

QByteArray mergedReadings(const QByteArray &existing, const QList<QPair<QString, QString>> &readings,
                          QStringList &warnings)
{
    QByteArray merged = existing;
    QString text = Cp932::decode(existing);
    ReadingDictionary known = ReadingDictionary::parse(text);
    for (const auto &[written, reading] : readings) {
        const QString line = written + u',' + reading;
        const std::optional<QByteArray> encoded = Cp932::encodeExactly(line);
        if (!encoded || written.contains(u'\n') || reading.contains(u'\n')) {
            warnings << QStringLiteral("読み「%1」はシフトJIS（CP932）で書けないので yomi.txt に加えません").arg(line);
            continue;
        }
        // The dictionary's own reading rules decide whether the written form
        // is there already: adding it must grow the table.
        ReadingDictionary probe = known;
        probe.merge(ReadingDictionary::parse(line));
        if (probe.size() == known.size()) {
            if (known.apply(written) != ReadingDictionary::parse(line).apply(written)) {
                warnings << QStringLiteral("yomi.txt の「%1」の読みはそのまま残します（取り込んだ読みは「%2」）").arg(written, reading);
            }
            continue;
        }
        known = probe;
        if (!merged.isEmpty() && !merged.endsWith('\n')) {
            merged += "\r\n";
        }
        merged += *encoded + "\r\n";
    }
    return merged;
}

QList<QPair<QString, QString>> sourceReadings(const RouteSource &source)
{
    QList<QPair<QString, QString>> readings;
    for (const RouteStop &stop : source.stops) {
        if (!stop.reading.isEmpty() && !stop.name.isEmpty()) {
            readings.append({stop.name, stop.reading});
        }
    }
    return readings + source.readings;
}

std::optional<Output> build(const RouteSource &source, const QList<QPair<QString, QString>> &readings,
                            const QString &folder, bool withSource, QString &error)
{
    const RouteBuilder builder(source);
    const std::vector<RouteProblem> problems = builder.check();
    Output output;
    for (const RouteProblem &problem : problems) {
        if (problem.severity == RouteProblem::Severity::Refusal) {
            error = problem.describe(source.stops);
            return std::nullopt;
        }
        output.warnings << problem.describe(source.stops);
    }
    const std::optional<QByteArray> hy3 = Hy3File::serialize(builder.records());
    if (!hy3) {
        error = QStringLiteral("運賃データを作れません（停名がシフトJIS（CP932）で書けないか長すぎます）");
        return std::nullopt;
    }
    const std::optional<QByteArray> tape = tapeBytes(source.announcements, error);
    if (!tape) {
        return std::nullopt;
    }
    QByteArray existing;
    QFile dictionary(QDir(folder).filePath(ReadingDictionary::fileName()));
    if (dictionary.exists()) {
        if (!dictionary.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("%1: 読めません（%2）").arg(dictionary.fileName(), dictionary.errorString());
            return std::nullopt;
        }
        existing = dictionary.readAll();
    }
    output.files.append({source.route + QStringLiteral(".hy3"), *hy3});
    output.files.append({source.route + QStringLiteral("tp.csv"), *tape});
    output.files.append({ReadingDictionary::fileName(), mergedReadings(existing, readings, output.warnings)});
    if (withSource) {
        output.files.append({source.route + RouteSource::fileSuffix(), source.toJson()});
    }
    return output;
}

bool write(const Output &output, const QString &folder, QString &error)
{
    const QDir dir(folder);
    // Every file is written to its temporary first; only when all of them
    // are are they renamed into place.
    std::vector<std::unique_ptr<QSaveFile>> files;
    for (const auto &[name, bytes] : output.files) {
        auto file = std::make_unique<QSaveFile>(dir.filePath(name));
        if (!file->open(QIODevice::WriteOnly) || file->write(bytes) != bytes.size()) {
            error = QStringLiteral("%1: 書き込めません（%2）").arg(file->fileName(), file->errorString());
            return false; // the temporaries are removed with their QSaveFile
        }
        files.push_back(std::move(file));
    }
    for (const auto &file : files) {
        if (!file->commit()) {
            error = QStringLiteral("%1: 書き込めません（%2）").arg(file->fileName(), file->errorString());
            return false;
        }
    }
    return true;
}

} // namespace RouteFiles
