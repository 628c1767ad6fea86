#include "RouteFiles.h"

#include "RouteAnnouncements.h"
#include "RouteBuilder.h"
#include "app/FileReplacement.h"
#include "app/WholeFile.h"
#include "companion/Cp932.h"
#include "fare/Hy3File.h"
#include "fare/RouteNumber.h"
#include "sound/ReadingDictionary.h"
#include "sound/TapeCsv.h"

#include <QDir>
#include <QHash>
#include <QStringTokenizer>

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
    // The written forms the file has, as the dictionary looks them up, with
    // their readings (a later line wins, as when the file is read): one pass
    // over the file and one look-up a reading, however long both are.
    QHash<QString, QString> known;
    const QString text = Cp932::decode(existing);
    for (const QStringView line : qTokenize(text, u'\n')) {
        if (std::optional<std::pair<QString, QString>> entry = ReadingDictionary::parseEntry(line)) {
            known.insert(std::move(entry->first), std::move(entry->second));
        }
    }
    QByteArray merged = existing;
    for (const auto &[written, reading] : readings) {
        const QString line = written + u',' + reading;
        const std::optional<QByteArray> encoded = Cp932::encodeExactly(line);
        if (!encoded || written.contains(u'\n') || reading.contains(u'\n')) {
            warnings << QStringLiteral("読み「%1」はシフトJIS（CP932）で書けないので yomi.txt に加えません").arg(line);
            continue;
        }
        const std::optional<std::pair<QString, QString>> entry = ReadingDictionary::parseEntry(line);
        if (!entry) {
            continue; // nothing the dictionary would read
        }
        if (entry->first.size() > ReadingDictionary::MaxWrittenLength) {
            warnings << QStringLiteral("「%1」は %2 文字を超え、読みを引けないので yomi.txt に加えません")
                            .arg(written)
                            .arg(ReadingDictionary::MaxWrittenLength);
            continue;
        }
        const auto found = known.constFind(entry->first);
        if (found != known.cend()) {
            if (*found != entry->second) {
                warnings << QStringLiteral("yomi.txt の「%1」の読みはそのまま残します（取り込んだ読みは「%2」）").arg(written, reading);
            }
            continue;
        }
        known.insert(entry->first, entry->second);
        if (!merged.isEmpty() && !merged.endsWith('\n')) {
            merged += "\r\n";
        }
        merged += *encoded + "\r\n";
    }
    return merged;
}

bool fitsReader(const QString &name, const QByteArray &bytes, qint64 limit, QString &error)
{
    if (bytes.size() <= limit) {
        return true;
    }
    error = QStringLiteral("%1 は %2 バイトになり、読み込める上限の %3 MB を超えるため作りません")
                .arg(name)
                .arg(bytes.size())
                .arg(limit / (1024 * 1024));
    return false;
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
    // The display's rule names the files: "012" is route 12, in 12.hy3.
    const std::optional<RouteNumber> number = RouteNumber::parse(source.route);
    if (!number) {
        error = QStringLiteral("系統番号が 1～%1 桁の数字ではありません（「%2」）").arg(RouteNumber::MaxDigits).arg(source.route);
        return std::nullopt;
    }
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
    const std::optional<QByteArray> tape = tapeBytes(RouteAnnouncements::ofSource(source), error);
    if (!tape) {
        return std::nullopt;
    }
    const QString dictionaryPath = QDir(folder).filePath(ReadingDictionary::fileName());
    const WholeFile::Contents dictionary = WholeFile::read(dictionaryPath, ReadingDictionary::MaxFileBytes);
    if (dictionary.problem != WholeFile::Problem::None && dictionary.problem != WholeFile::Problem::Missing) {
        error = QStringLiteral("%1: %2")
                    .arg(QDir::toNativeSeparators(dictionaryPath),
                         WholeFile::problemText(dictionary, ReadingDictionary::MaxFileBytes));
        return std::nullopt;
    }
    const QByteArray readingBytes = mergedReadings(dictionary.bytes, readings, output.warnings);
    const QString tapeName = number->tapeFileName();
    // Files the display could not read are not written at all.
    if (!fitsReader(tapeName, *tape, TapeCsv::MaxFileBytes, error)
        || !fitsReader(ReadingDictionary::fileName(), readingBytes, ReadingDictionary::MaxFileBytes, error)) {
        return std::nullopt;
    }
    output.files.append({number->fareFileName(), *hy3});
    output.files.append({tapeName, *tape});
    output.files.append({ReadingDictionary::fileName(), readingBytes});
    if (withSource) {
        const QString sourceName = number->sourceFileName();
        const QByteArray json = source.toJson();
        if (!fitsReader(sourceName, json, RouteSource::MaxFileBytes, error)) {
            return std::nullopt;
        }
        output.files.append({sourceName, json});
    }
    return output;
}

bool write(const Output &output, const QString &folder, QString &error)
{
    const QDir dir(folder);
    FileReplacement replacement;
    for (const auto &[name, bytes] : output.files) {
        if (!replacement.add(dir.filePath(name), bytes)) {
            error = replacement.errorString();
            return false;
        }
    }
    if (!replacement.commit()) {
        error = replacement.errorString();
        return false;
    }
    return true;
}

} // namespace RouteFiles
