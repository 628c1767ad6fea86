#include "RouteFiles.h"

#include "RouteAnnouncements.h"
#include "RouteBuilder.h"
#include "app/FileReplacement.h"
#include "app/WholeFile.h"
#include "formats/Cp932.h"
#include "formats/CsvField.h"
#include "formats/Hy3File.h"
#include "fare/RouteNumber.h"
#include "sound/ReadingDictionary.h"
#include "formats/TapeCsv.h"

#include <QDir>
#include <QHash>
#include <QLockFile>
#include <QSet>

#include <algorithm>
#include <memory>

namespace RouteFiles {

std::optional<QByteArray> tapeBytes(const QList<TapeRecord> &records, QString &error)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const TapeRecord &record = records.at(i);
        const QString line = CsvField::quotedIfNeeded(record.Text) + QStringLiteral(",%1,%2\r\n").arg(record.StepFlag).arg(record.SoundFlag);
        const std::optional<QByteArray> encoded = Cp932::encodeExactly(line);
        if (!encoded || record.Text.contains(u'\n') || record.Text.contains(u'\r')) {
            error = QStringLiteral("放送 %1「%2」はシフトJIS（CP932）の1行に書けません").arg(i + 1).arg(record.Text);
            return std::nullopt;
        }
        bytes += *encoded;
    }
    return bytes;
}

std::optional<QByteArray> englishTapeBytes(const RouteSource &source, QString &error)
{
    const QStringList lines = RouteAnnouncements::englishOfSource(source);
    if (std::all_of(lines.cbegin(), lines.cend(), [](const QString &line) { return line.isEmpty(); })) {
        return QByteArray();
    }
    QList<TapeRecord> records = RouteAnnouncements::ofSource(source);
    for (qsizetype i = 0; i < records.size(); ++i) {
        QString line = lines.at(i);
        if (!Cp932::encodeExactly(line)) {
            // Shift_JIS has no macrons (Ō) nor accents: the letters without them.
            line = line.normalized(QString::NormalizationForm_D);
            line.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
            line = line.normalized(QString::NormalizationForm_C);
        }
        records[i].Text = line;
    }
    QString why;
    const std::optional<QByteArray> bytes = tapeBytes(records, why);
    if (!bytes) {
        error = QStringLiteral("英語の放送文: %1").arg(why);
    }
    return bytes;
}

MergedReadings mergedReadings(const QByteArray &existing, const QList<QPair<QString, QString>> &readings)
{
    MergedReadings result;
    // The entries to be in the file, keyed as the dictionary looks them up;
    // of two for one written form the later wins (a reading fix over the
    // stop's own reading).
    struct Wanted
    {
        QString written;
        QString reading;
        QByteArray line;
        bool inFile = false;
    };
    std::vector<Wanted> wanted;
    QHash<QString, size_t> byKey;
    for (const auto &[written, reading] : readings) {
        const QString line = written + u',' + reading;
        const std::optional<QByteArray> encoded = Cp932::encodeExactly(line);
        if (!encoded || written.contains(u'\n') || reading.contains(u'\n')) {
            result.warnings << QStringLiteral("読み「%1」はシフトJIS（CP932）で書けないので yomi.txt に加えません").arg(line);
            continue;
        }
        std::optional<std::pair<QString, QString>> entry = ReadingDictionary::parseEntry(line);
        if (!entry) {
            continue; // nothing the dictionary would read
        }
        if (entry->first.size() > ReadingDictionary::MaxWrittenLength) {
            result.warnings << QStringLiteral("「%1」は %2 文字を超え、読みを引けないので yomi.txt に加えません")
                                   .arg(written)
                                   .arg(ReadingDictionary::MaxWrittenLength);
            continue;
        }
        const auto found = byKey.constFind(entry->first);
        if (found != byKey.cend()) {
            wanted[*found] = {written, entry->second, *encoded, false};
        } else {
            byKey.insert(entry->first, wanted.size());
            wanted.push_back({written, entry->second, *encoded, false});
        }
    }
    // One pass over the file: a line of a written form the source reads
    // otherwise gets the source's reading in its place; every other line
    // stays byte for byte.
    QSet<QString> changed;
    for (qsizetype start = 0; start < existing.size();) {
        const qsizetype newline = existing.indexOf('\n', start);
        const qsizetype end = newline < 0 ? existing.size() : newline;
        QByteArrayView line(existing.constData() + start, end - start);
        const bool carriageReturn = line.endsWith('\r');
        if (carriageReturn) {
            line.chop(1);
        }
        const std::optional<std::pair<QString, QString>> entry =
            ReadingDictionary::parseEntry(Cp932::decode(line.toByteArray()));
        const auto found = entry ? byKey.constFind(entry->first) : byKey.cend();
        if (found == byKey.cend()) {
            result.bytes += QByteArrayView(existing.constData() + start, end - start);
        } else {
            Wanted &entryWanted = wanted[*found];
            entryWanted.inFile = true;
            if (entry->second == entryWanted.reading) {
                result.bytes += QByteArrayView(existing.constData() + start, end - start);
            } else {
                result.bytes += entryWanted.line;
                if (carriageReturn) {
                    result.bytes += '\r';
                }
                if (!changed.contains(entry->first)) {
                    changed.insert(entry->first);
                    result.changes << QStringLiteral("yomi.txt の「%1」の読みを「%2」から「%3」に改めました")
                                          .arg(entryWanted.written, entry->second, entryWanted.reading);
                }
            }
        }
        if (newline >= 0) {
            result.bytes += '\n';
        }
        start = end + 1;
    }
    for (const Wanted &entry : wanted) {
        if (entry.inFile) {
            continue;
        }
        if (!result.bytes.isEmpty() && !result.bytes.endsWith('\n')) {
            result.bytes += "\r\n";
        }
        result.bytes += entry.line + "\r\n";
    }
    return result;
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

namespace {

// The reading dictionary of `folder` with `readings` merged in; nothing,
// with the reason, when the one there cannot be read.
std::optional<MergedReadings> readingsMergedInto(const QString &folder, const QList<QPair<QString, QString>> &readings,
                                                 QString &error)
{
    const QString path = QDir(folder).filePath(ReadingDictionary::fileName());
    const WholeFile::Contents dictionary = WholeFile::read(path, ReadingDictionary::MaxFileBytes);
    if (dictionary.problem != WholeFile::Problem::None && dictionary.problem != WholeFile::Problem::Missing) {
        error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path),
                                            WholeFile::problemText(dictionary, ReadingDictionary::MaxFileBytes));
        return std::nullopt;
    }
    return mergedReadings(dictionary.bytes, readings);
}

// How long a save waits for another's merge of the same yomi.txt.
constexpr int DictionaryLockWaitMs = 10000;

} // namespace

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
    const std::optional<QByteArray> englishTape = englishTapeBytes(source, error);
    if (!englishTape) {
        return std::nullopt;
    }
    const std::optional<MergedReadings> merged = readingsMergedInto(folder, readings, error);
    if (!merged) {
        return std::nullopt;
    }
    const QString tapeName = number->tapeFileName();
    const QString englishTapeName = number->text() + QStringLiteral("tp.en.csv");
    // Files the display could not read are not written at all.
    if (!fitsReader(tapeName, *tape, TapeCsv::MaxFileBytes, error)
        || !fitsReader(englishTapeName, *englishTape, TapeCsv::MaxFileBytes, error)
        || !fitsReader(ReadingDictionary::fileName(), merged->bytes, ReadingDictionary::MaxFileBytes, error)) {
        return std::nullopt;
    }
    output.warnings << merged->warnings;
    output.changes = merged->changes;
    output.readings = readings;
    output.files.append({number->fareFileName(), *hy3});
    output.files.append({tapeName, *tape});
    if (!englishTape->isEmpty()) {
        output.files.append({englishTapeName, *englishTape});
    }
    output.files.append({ReadingDictionary::fileName(), merged->bytes});
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

bool write(Output &output, const QString &fareFolder, const QString &announcementFolder, QString &error)
{
    // Merges of one yomi.txt are taken in turn (the editor and hy3tool may
    // write the same folder): the file is read again under the lock and
    // the readings merged into what it holds now.
    std::unique_ptr<QLockFile> lock;
    FileReplacement replacement;
    for (auto &[name, bytes] : output.files) {
        const bool fare = name.endsWith(QStringLiteral(".hy3"), Qt::CaseInsensitive);
        const QString path = QDir(fare ? fareFolder : announcementFolder).filePath(name);
        if (name == ReadingDictionary::fileName()) {
            lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
            if (!lock->tryLock(DictionaryLockWaitMs)) {
                error = QStringLiteral("%1: 他の保存（路線エディタか hy3tool）が書き換え中のため、書けません。"
                                       "しばらくしてからもう一度保存してください")
                            .arg(QDir::toNativeSeparators(path));
                return false;
            }
            const std::optional<MergedReadings> merged = readingsMergedInto(announcementFolder, output.readings, error);
            if (!merged || !fitsReader(name, merged->bytes, ReadingDictionary::MaxFileBytes, error)) {
                return false;
            }
            bytes = merged->bytes;
            output.changes = merged->changes;
        }
        if (!replacement.add(path, bytes)) {
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

bool write(Output &output, const QString &folder, QString &error)
{
    return write(output, folder, folder, error);
}

} // namespace RouteFiles
