#include "ReaderChecks.h"

#include "formats/Cp932.h"
#include "formats/FareCsv.h"
#include "formats/Hy3File.h"
#include "route/GtfsFeed.h"
#include "route/RouteBuilder.h"
#include "route/RouteSource.h"
#include "settings/In4Format.h"
#include "settings/In4Layout.h"
#include "settings/In4Listing.h"
#include "sound/ReadingDictionary.h"
#include "formats/TapeCsv.h"
#include "ticket/TicketDescriptionReader.h"

#include <cstdio>
#include <cstdlib>

namespace ReaderChecks {

namespace {

// Bytes a stop record takes besides its name: name length, ticket number,
// 150 columns.
constexpr qsizetype Hy3RecordFixedBytes = 2 + 2 + 2 * StopRecord::ColumnCount;

// Announcement text long enough to meet most dictionary entries, short
// enough that looking it up stays cheap whatever the dictionary holds.
constexpr qsizetype DictionaryProbeLength = 64;

qsizetype lineCount(QByteArrayView bytes)
{
    return bytes.count('\n') + 1;
}

qsizetype stringBytes(const IniRecords &records)
{
    qsizetype total = 0;
    IniRecords copy = records;
    qint16 degitCount = 0;
    In4Layout::visit(copy, degitCount, [&total](const In4Field &, const auto &value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, QString>) {
            total += value.size();
        }
    });
    return total;
}

} // namespace

QString hy3(QByteArrayView bytes)
{
    const Hy3File::Contents contents = Hy3File::parse(bytes.toByteArray());
    // The count is read before any record: nothing is set aside beyond the
    // largest route, whatever the file claims.
    if (contents.records.capacity() > size_t(Hy3File::MaxRecords)) {
        return QStringLiteral("room for %1 records set aside").arg(contents.records.capacity());
    }
    if (qsizetype(contents.records.size()) * Hy3RecordFixedBytes > bytes.size()) {
        return QStringLiteral("%1 records from %2 bytes").arg(contents.records.size()).arg(bytes.size());
    }
    if (contents.problem != Hy3File::Problem::None) {
        if (!contents.records.empty()) {
            return QStringLiteral("a refused file still gives records");
        }
        return Hy3File::problemText(contents).isEmpty() ? QStringLiteral("a refused file without a message")
                                                        : QString();
    }
    if (qsizetype(contents.records.size()) != contents.count || contents.usedBytes > bytes.size()) {
        return QStringLiteral("count %1 but %2 records in %3 of %4 bytes")
            .arg(contents.count)
            .arg(contents.records.size())
            .arg(contents.usedBytes)
            .arg(bytes.size());
    }
    // What was loaded can be saved, and the saved file loads the same stops.
    const std::optional<QByteArray> saved = Hy3File::serialize(contents.records);
    if (!saved) {
        return QStringLiteral("the records read cannot be written back");
    }
    const Hy3File::Contents again = Hy3File::parse(*saved);
    if (again.problem != Hy3File::Problem::None || again.records != contents.records) {
        return QStringLiteral("the records written back read differently");
    }
    return {};
}

QString fareCsv(QByteArrayView bytes)
{
    const FareCsvContents contents = FareCsv::parse(bytes.toByteArray());
    if (contents.records.size() > size_t(Hy3File::MaxRecords)) {
        return QStringLiteral("%1 stops read, more than a route holds").arg(contents.records.size());
    }
    if (qsizetype(contents.records.size() + contents.errors.size()) > lineCount(bytes)) {
        return QStringLiteral("more stops and errors than lines");
    }
    // The stops read are written as CSV and read back unchanged.
    const FareCsvContents again = FareCsv::parse(FareCsv::write(contents.records));
    if (!again.errors.empty()) {
        return QStringLiteral("the CSV written back has an error on line %1: %2")
            .arg(again.errors.front().line)
            .arg(again.errors.front().reason);
    }
    if (again.records != contents.records) {
        return QStringLiteral("the CSV written back reads differently");
    }
    return {};
}

QString tapeCsv(QByteArrayView bytes)
{
    const TapeCsvContents contents = TapeCsv::parse(bytes.toByteArray());
    const qsizetype lines = lineCount(bytes);
    if (contents.records.size() + contents.errors.size() > lines) {
        return QStringLiteral("more announcements and errors than lines");
    }
    int previous = 0;
    for (const TapeLineError &error : contents.errors) {
        if (error.line <= previous || error.line > lines || error.reason.isEmpty()) {
            return QStringLiteral("an error on line %1 after line %2 of %3").arg(error.line).arg(previous).arg(lines);
        }
        previous = error.line;
    }
    qsizetype textLength = 0;
    for (const TapeRecord &record : contents.records) {
        textLength += record.Text.size();
    }
    if (textLength > bytes.size()) {
        return QStringLiteral("%1 characters of announcements from %2 bytes").arg(textLength).arg(bytes.size());
    }
    return {};
}

QString readingDictionary(QByteArrayView bytes)
{
    const QString text = Cp932::decode(bytes.toByteArray());
    const ReadingDictionary dictionary = ReadingDictionary::parse(text);
    if (dictionary.size() > lineCount(bytes)) {
        return QStringLiteral("%1 entries from %2 lines").arg(dictionary.size()).arg(lineCount(bytes));
    }
    // Reading text with it: the file's own words, and a usual announcement.
    dictionary.apply(text.left(DictionaryProbeLength));
    dictionary.apply(QStringLiteral("次は、市役所前です。"));
    return {};
}

QString settings(QByteArrayView bytes)
{
    const In4Decoded decoded = In4Format::decode(bytes.toByteArray());
    if (stringBytes(decoded.records) > bytes.size()) {
        return QStringLiteral("more text than bytes in the file");
    }
    if (!decoded.complete && (decoded.missingField.isEmpty() || decoded.missingAt > bytes.size())) {
        return QStringLiteral("a short file without the field that did not fit");
    }
    // The listing for people reads the same bytes.
    if (In4Listing::lines(bytes.toByteArray()).isEmpty()) {
        return QStringLiteral("an empty listing");
    }
    // Whatever was read is saved and read back the same.
    const In4Decoded again = In4Format::decode(In4Format::encode(decoded.records));
    if (!again.complete || again.records != decoded.records) {
        return QStringLiteral("the settings written back read differently");
    }
    return {};
}

QString ticketDescription(QByteArrayView bytes)
{
    QList<DescriptionProblem> problems;
    const std::optional<TicketDescription> ticket = TicketDescriptionReader::parse(bytes.toByteArray(), &problems);
    if (ticket.has_value() == !problems.isEmpty()) {
        return QStringLiteral("accepted with problems, or refused without one");
    }
    if (bytes.size() > TicketDescriptionReader::MaxFileBytes && ticket) {
        return QStringLiteral("a description over the size limit was accepted");
    }
    if (ticket
        && (ticket->elements.isEmpty() || ticket->elements.size() > TicketDescriptionReader::MaxElements
            || ticket->companies.size() > TicketDescriptionReader::MaxCompanies)) {
        return QStringLiteral("%1 elements and %2 companies accepted")
            .arg(ticket->elements.size())
            .arg(ticket->companies.size());
    }
    return {};
}

QString gtfsTable(QByteArrayView bytes)
{
    QString error;
    const std::optional<GtfsTable> table =
        GtfsTable::parse(QStringLiteral("stops.txt"), bytes.toByteArray(), {QStringLiteral("stop_id")}, error);
    if (!table) {
        return error.isEmpty() ? QStringLiteral("a refused table without a message") : QString();
    }
    // Every row starts on a later line than the one before, within the file.
    int previous = 0;
    QString problem;
    const bool read = table->forEachRow([&](const QStringList &, int line) {
        if (problem.isEmpty() && (line <= previous || line > lineCount(bytes))) {
            problem = QStringLiteral("a row on line %1 after line %2 of %3").arg(line).arg(previous).arg(lineCount(bytes));
        }
        previous = line;
        return QString();
    }, error);
    if (!read && !error.contains(QStringLiteral("stops.txt"))) {
        return QStringLiteral("a bad line reported without its file: %1").arg(error);
    }
    return problem;
}

QString routeSource(QByteArrayView bytes)
{
    QString error;
    const std::optional<RouteSource> source = RouteSource::fromJson(bytes.toByteArray(), error);
    if (!source) {
        return error.isEmpty() ? QStringLiteral("a refused source without a message") : QString();
    }
    // What was read is written and read back the same, and builds.
    const QByteArray written = source->toJson();
    const std::optional<RouteSource> again = RouteSource::fromJson(written, error);
    if (!again) {
        return QStringLiteral("the source written back is refused: %1").arg(error);
    }
    if (again->toJson() != written) {
        return QStringLiteral("the source written back reads differently");
    }
    const RouteBuilder builder(*again);
    if (builder.records().size() != again->stops.size()) {
        return QStringLiteral("records for %1 of %2 stops").arg(builder.records().size()).arg(again->stops.size());
    }
    (void)builder.check();
    return {};
}

std::span<const Reader> all()
{
    static const Reader readers[] = {
        {"hy3", hy3},
        {"fare_csv", fareCsv},
        {"tape_csv", tapeCsv},
        {"reading_dictionary", readingDictionary},
        {"settings", settings},
        {"ticket_description", ticketDescription},
        {"gtfs_table", gtfsTable},
        {"route_source", routeSource},
    };
    return readers;
}

int abortOnProblem(Check check, const uint8_t *data, size_t size)
{
    const QString problem = check(QByteArrayView(data, qsizetype(size)));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "reader check failed: %s\n", problem.toUtf8().constData());
        std::abort();
    }
    return 0;
}

} // namespace ReaderChecks
