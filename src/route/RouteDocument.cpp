#include "RouteDocument.h"

#include "RouteAnnouncements.h"
#include "RouteFiles.h"
#include "RouteSourceChange.h"
#include "app/WholeFile.h"
#include "formats/Cp932.h"
#include "controls/Dot16Glyphs.h"
#include "formats/FareCsv.h"
#include "formats/Hy3File.h"
#include "fare/RouteNumber.h"
#include "formats/TapeCsv.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>
#include <numeric>

namespace {

// Fare data as a source: each stop with the ticket number it has, the
// manual rule, and every cell that differs from what that rule gives kept
// as typed, so that saving writes the same bytes again. The sound classes
// come from column 150 when every stop has one there.
std::optional<RouteSource> sourceOfRecords(const std::vector<StopRecord> &records, const QString &route, QString &error)
{
    RouteSource source;
    source.route = route;
    source.rule.kind = FareRule::Kind::Manual;
    const int selector = RouteSource::DefaultSelectorColumn;
    const bool sounds = !records.empty() && std::all_of(records.begin(), records.end(), [](const StopRecord &r) {
        const qint16 v = r.column(selector);
        return v >= 1 && v <= 3;
    });
    source.selectorColumn = sounds ? selector : 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const StopRecord &record = records[i];
        if (record.ticketNumber < 0) {
            error = QStringLiteral("停留所 %1（%2）: 整理券番号 %3 は負の値です").arg(i + 1).arg(record.name).arg(record.ticketNumber);
            return std::nullopt;
        }
        RouteStop stop;
        stop.name = record.name;
        stop.ticket = record.ticketNumber;
        if (sounds) {
            stop.sound = static_cast<RouteStop::Sound>(record.column(selector));
        }
        source.stops.push_back(stop);
    }
    const RouteSource plain = source;
    const RouteBuilder generated(plain);
    for (size_t i = 0; i < records.size(); ++i) {
        const int stop = static_cast<int>(i + 1);
        for (int c = 1; c <= StopRecord::ColumnCount; ++c) {
            if (c == source.selectorColumn) {
                continue;
            }
            const int value = records[i].column(c);
            if (value != (c <= RouteBuilder::MaxTickets ? generated.fare(stop, c) : 0)) {
                source.overrides.push_back({stop, c, value});
            }
        }
    }
    return source;
}

// The overrides of the stops that stay, at their new numbers: `newRow[r]`
// is where the stop at row r goes, -1 when it is removed.
void followStops(RouteSource &source, const std::vector<int> &newRow)
{
    std::vector<FareOverride> kept;
    for (FareOverride cell : source.overrides) {
        const int row = cell.stop - 1;
        if (row < 0 || row >= static_cast<int>(newRow.size()) || newRow[static_cast<size_t>(row)] < 0) {
            continue;
        }
        cell.stop = newRow[static_cast<size_t>(row)] + 1;
        kept.push_back(cell);
    }
    std::sort(kept.begin(), kept.end(), [](const FareOverride &a, const FareOverride &b) {
        return std::pair(a.stop, a.ticket) < std::pair(b.stop, b.ticket);
    });
    source.overrides = kept;
    // Each trip keeps its times at the stops that stay; a stop added has none.
    for (RouteTrip &trip : source.trips) {
        std::vector<StopTime> times(source.stops.size());
        for (size_t row = 0; row < newRow.size() && row < trip.times.size(); ++row) {
            const int to = newRow[row];
            if (to >= 0 && static_cast<size_t>(to) < times.size()) {
                times[static_cast<size_t>(to)] = trip.times[row];
            }
        }
        trip.times = std::move(times);
    }
}

RouteChange inverse(const RouteChange &change)
{
    RouteChange back = change;
    back.rowsBefore = change.rowsAfter;
    back.rowsAfter = change.rowsBefore;
    switch (change.kind) {
    case RouteChange::Kind::Inserted:
        back.kind = RouteChange::Kind::Removed;
        break;
    case RouteChange::Kind::Removed:
        back.kind = RouteChange::Kind::Inserted;
        break;
    case RouteChange::Kind::Moved:
        if (change.to > change.first) {
            back.first = change.to - change.count;
            back.to = change.first;
        } else {
            back.first = change.to;
            back.to = change.first + change.count;
        }
        break;
    case RouteChange::Kind::Reset:
    case RouteChange::Kind::Edited:
    case RouteChange::Kind::Other:
        break;
    }
    return back;
}

} // namespace

// One step of the undo stack: what it changed in the source.
class RouteDocument::Edit : public QUndoCommand
{
public:
    Edit(RouteDocument *document, const RouteSource &before, const RouteSource &after, const RouteChange &change,
         const QString &text)
        : QUndoCommand(text)
        , m_document(document)
        , m_edit(before, after)
        , m_change(change)
    {
    }

    void redo() override
    {
        RouteSource after = m_document->m_source;
        m_edit.apply(after);
        m_document->apply(after, m_change);
    }
    void undo() override
    {
        RouteSource before = m_document->m_source;
        m_edit.revert(before);
        m_document->apply(before, inverse(m_change));
    }

private:
    RouteDocument *m_document;
    RouteSourceChange m_edit;
    RouteChange m_change;
};

RouteDocument::RouteDocument(QObject *parent, std::function<bool(char32_t)> hasGlyph)
    : QObject(parent)
    , m_hasGlyph(std::move(hasGlyph))
    , m_undo(new QUndoStack(this))
{
    m_undo->setUndoLimit(UndoSteps);
    if (!m_hasGlyph) {
        auto glyphs = std::make_shared<Dot16Glyphs>();
        m_hasGlyph = [glyphs](char32_t c) { return glyphs->canDraw(c); };
    }
    rebuild();
}

RouteDocument::~RouteDocument()
{
    // The stack tells its listeners that it empties as it goes; it goes
    // while the document they may ask is still whole.
    delete m_undo;
}

QString RouteDocument::defaultSavePath() const
{
    if (m_path.endsWith(RouteSource::fileSuffix(), Qt::CaseInsensitive)) {
        return m_path;
    }
    const QString folder = m_path.isEmpty() ? QString() : QFileInfo(m_path).absolutePath();
    const QString name = (m_source.route.isEmpty() ? QStringLiteral("route") : m_source.route) + RouteSource::fileSuffix();
    return folder.isEmpty() ? name : folder + u'/' + name;
}

bool RouteDocument::isDirty() const
{
    return !m_undo->isClean();
}

bool RouteDocument::open(const QString &path, QString &error)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const auto refuse = [&](const QString &why) {
        error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), why);
        return false;
    };
    const bool isSource = name.endsWith(RouteSource::fileSuffix(), Qt::CaseInsensitive);
    const bool isHy3 = name.endsWith(QStringLiteral(".hy3"), Qt::CaseInsensitive);
    const bool isCsv = name.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    if (!isSource && !isHy3 && !isCsv) {
        return refuse(QStringLiteral("開けるのは .route.json、.hy3、運賃 CSV（.csv）です"));
    }
    const qint64 limit = isHy3 ? Hy3File::MaxUsedBytes : RouteSource::MaxFileBytes;
    const WholeFile::Contents file = WholeFile::read(path, limit);
    if (file.problem != WholeFile::Problem::None) {
        return refuse(WholeFile::problemText(file, limit));
    }

    std::optional<RouteSource> source;
    QString why;
    if (isSource) {
        source = RouteSource::fromJson(file.bytes, why);
    } else {
        // "12.hy3", "12.csv": the route number names the file.
        const std::optional<RouteNumber> number = RouteNumber::parse(info.completeBaseName());
        const QString route = number ? number->text() : QString();
        if (isHy3) {
            const Hy3File::Contents contents = Hy3File::parse(file.bytes);
            if (contents.problem != Hy3File::Problem::None) {
                return refuse(Hy3File::problemText(contents));
            }
            if (!contents.damagedNames.empty()) {
                return refuse(QStringLiteral("停留所 %1 の停名にシフトJIS（CP932）でないバイトがあります")
                                  .arg(contents.damagedNames.front()));
            }
            source = sourceOfRecords(contents.records, route, why);
        } else {
            const FareCsvContents contents = FareCsv::parse(file.bytes);
            if (!contents.errors.empty()) {
                return refuse(QStringLiteral("%1 行目: %2").arg(contents.errors.front().line).arg(contents.errors.front().reason));
            }
            source = sourceOfRecords(contents.records, route, why);
        }
        // The announcements beside it, when there are any: read or refused
        // whole, as a save would write the file again.
        const QString tapePath = TapeCsv::filePath(info.absolutePath(), route);
        if (source && !route.isEmpty() && QFileInfo(tapePath).isFile()) {
            const TapeCsvContents tape = TapeCsv::readFile(tapePath);
            if (const QString problem = tape.problemText(); !problem.isEmpty()) {
                error = problem;
                return false;
            }
            source->announcements = tape.records;
            source->noAnnouncementsWanted = tape.records.isEmpty(); // an empty file stays empty
        }
    }
    if (!source) {
        return refuse(why);
    }
    m_undo->clear();
    apply(*source, {RouteChange::Kind::Reset, 0, 0, 0, static_cast<int>(m_source.stops.size()),
                    static_cast<int>(source->stops.size())});
    m_saveWarnings.clear();
    m_saveChanges.clear();
    m_savedRoute = m_source.route;
    setPath(info.absoluteFilePath());
    return true;
}

void RouteDocument::clear()
{
    m_undo->clear();
    RouteSource empty;
    apply(empty, {RouteChange::Kind::Reset, 0, 0, 0, static_cast<int>(m_source.stops.size()), 0});
    m_saveWarnings.clear();
    m_saveChanges.clear();
    m_savedRoute.clear();
    setPath({});
}

QStringList RouteDocument::otherRoutesFiles(const QString &path) const
{
    const QFileInfo target(path);
    const QDir folder = target.absoluteDir();
    QStringList files;
    if (target.exists() && target.absoluteFilePath() != m_path) {
        files << target.absoluteFilePath();
    }
    const std::optional<RouteNumber> number = RouteNumber::parse(m_source.route);
    const bool ownFiles = !m_path.isEmpty() && QFileInfo(m_path).absoluteDir() == folder && number
                          && number->text() == m_savedRoute;
    if (number && !ownFiles) {
        for (const QString &name : {number->fareFileName(), number->tapeFileName()}) {
            if (QFileInfo::exists(folder.filePath(name))) {
                files << folder.filePath(name);
            }
        }
    }
    return files;
}

bool RouteDocument::save(const QString &path, QString &error)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    m_draftOnly = false;
    const QByteArray json = m_source.toJson();
    if (!RouteFiles::fitsReader(info.fileName(), json, RouteSource::MaxFileBytes, error)) {
        return false;
    }
    // The source is UTF-8 and holds whatever the author typed: it is saved
    // also when the display's files cannot be built, so no work is lost.
    QString refusal;
    const std::optional<RouteFiles::Output> built =
        RouteFiles::build(m_source, RouteFiles::sourceReadings(m_source), folder, false, refusal);
    RouteFiles::Output output = built.value_or(RouteFiles::Output{});
    output.files.append({info.fileName(), json});
    if (!RouteFiles::write(output, folder, error)) {
        return false;
    }
    m_saveWarnings = output.warnings;
    m_saveChanges = output.changes;
    if (built) {
        m_savedRoute = m_source.route;
    }
    m_undo->setClean();
    setPath(info.absoluteFilePath());
    if (!built) {
        m_draftOnly = true;
        error = QStringLiteral("%1 は保存しましたが、表示器用のファイル（.hy3、tp.csv）は作れません。\n%2")
                    .arg(info.fileName(), refusal);
        return false;
    }
    return true;
}

bool RouteDocument::isRefused() const
{
    return RouteBuilder::refuses(m_problems);
}

QString RouteDocument::nameProblem(int stop) const
{
    return m_problemTexts.value({stop, 0});
}

QString RouteDocument::firstUnfitCharacter(const QString &text) const
{
    if (const std::optional<char32_t> c = Cp932::firstUnencodable(text)) {
        return QString::fromUcs4(&*c, 1);
    }
    for (const char32_t c : text.toUcs4()) {
        if (!m_hasGlyph(c)) {
            return QString::fromUcs4(&c, 1);
        }
    }
    return {};
}

QString RouteDocument::cellProblem(int stop, int column) const
{
    return m_problemTexts.value({stop, column});
}

void RouteDocument::setRouteNumber(const QString &text)
{
    // Kept as the display reads it ("012" is route 12, in 12.hy3); a text
    // that is no route number stays as typed, for the checks to name.
    const std::optional<RouteNumber> number = RouteNumber::parse(text);
    const QString route = number ? number->text() : text;
    if (route == m_source.route) {
        return;
    }
    RouteSource after = m_source;
    after.route = route;
    push(after, {}, QStringLiteral("系統番号の変更"));
}

void RouteDocument::setSelectorColumn(int column)
{
    if (column == m_source.selectorColumn || column < 0 || column > StopRecord::ColumnCount) {
        return;
    }
    RouteSource after = m_source;
    after.selectorColumn = column;
    push(after, {}, QStringLiteral("ステップ音の列の変更"));
}

void RouteDocument::setRule(const FareRule &rule)
{
    if (rule == m_source.rule) {
        return;
    }
    RouteSource after = m_source;
    after.rule = rule;
    push(after, {}, QStringLiteral("運賃規則の変更"));
}

void RouteDocument::setStop(int row, const RouteStop &stop)
{
    if (row < 0 || row >= static_cast<int>(m_source.stops.size()) || m_source.stops[static_cast<size_t>(row)] == stop) {
        return;
    }
    RouteSource after = m_source;
    after.stops[static_cast<size_t>(row)] = stop;
    push(after, {RouteChange::Kind::Edited, row, 1}, QStringLiteral("停留所の編集"));
}

void RouteDocument::insertStops(int row, const std::vector<RouteStop> &stops)
{
    const int rows = static_cast<int>(m_source.stops.size());
    if (row < 0 || row > rows || stops.empty()) {
        return;
    }
    RouteSource after = m_source;
    after.stops.insert(after.stops.begin() + row, stops.begin(), stops.end());
    std::vector<int> newRow(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        newRow[static_cast<size_t>(r)] = r < row ? r : r + static_cast<int>(stops.size());
    }
    followStops(after, newRow);
    push(after, {RouteChange::Kind::Inserted, row, static_cast<int>(stops.size())}, QStringLiteral("停留所の追加"));
}

void RouteDocument::removeStops(int row, int count)
{
    const int rows = static_cast<int>(m_source.stops.size());
    if (row < 0 || count <= 0 || row + count > rows) {
        return;
    }
    RouteSource after = m_source;
    after.stops.erase(after.stops.begin() + row, after.stops.begin() + row + count);
    std::vector<int> newRow(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        newRow[static_cast<size_t>(r)] = r < row ? r : r < row + count ? -1 : r - count;
    }
    followStops(after, newRow);
    push(after, {RouteChange::Kind::Removed, row, count}, QStringLiteral("停留所の削除"));
}

void RouteDocument::moveStops(int row, int count, int to)
{
    const int rows = static_cast<int>(m_source.stops.size());
    // Moving a block onto itself or just after itself changes nothing.
    if (row < 0 || count <= 0 || row + count > rows || to < 0 || to > rows || (to >= row && to <= row + count)) {
        return;
    }
    std::vector<int> order(static_cast<size_t>(rows)); // new row -> old row
    std::iota(order.begin(), order.end(), 0);
    if (to < row) {
        std::rotate(order.begin() + to, order.begin() + row, order.begin() + row + count);
    } else {
        std::rotate(order.begin() + row, order.begin() + row + count, order.begin() + to);
    }
    RouteSource after = m_source;
    std::vector<int> newRow(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        after.stops[static_cast<size_t>(r)] = m_source.stops[static_cast<size_t>(order[static_cast<size_t>(r)])];
        newRow[static_cast<size_t>(order[static_cast<size_t>(r)])] = r;
    }
    followStops(after, newRow);
    push(after, {RouteChange::Kind::Moved, row, count, to}, QStringLiteral("停留所の移動"));
}

void RouteDocument::replaceStops(int row, const std::vector<RouteStop> &stops, const QString &text)
{
    const int rows = static_cast<int>(m_source.stops.size());
    if (row < 0 || row > rows || stops.empty()) {
        return;
    }
    RouteSource after = m_source;
    const size_t end = static_cast<size_t>(row) + stops.size();
    if (after.stops.size() < end) {
        after.stops.resize(end);
        std::vector<int> sameRow(static_cast<size_t>(rows));
        std::iota(sameRow.begin(), sameRow.end(), 0);
        followStops(after, sameRow);
    }
    std::copy(stops.begin(), stops.end(), after.stops.begin() + row);
    if (after.stops == m_source.stops) {
        return;
    }
    push(after, {RouteChange::Kind::Edited, row, static_cast<int>(stops.size())}, text);
}

void RouteDocument::setFare(int stop, int column, int fare)
{
    if (stop < 1 || stop > static_cast<int>(m_source.stops.size()) || column < 1 || column > RouteBuilder::MaxTickets
        || m_board->fare(stop, column) == fare) {
        return;
    }
    RouteSource after = m_source;
    const auto cell = std::find_if(after.overrides.begin(), after.overrides.end(),
                                   [&](const FareOverride &o) { return o.stop == stop && o.ticket == column; });
    if (cell != after.overrides.end()) {
        cell->fare = fare;
    } else {
        after.overrides.push_back({stop, column, fare});
    }
    push(after, {}, QStringLiteral("運賃の入力"));
}

void RouteDocument::clearFare(int stop, int column)
{
    clearFares({{stop, column}});
}

void RouteDocument::clearFares(const QList<QPair<int, int>> &cells)
{
    const QSet<QPair<int, int>> cleared(cells.begin(), cells.end());
    RouteSource after = m_source;
    const auto removed = std::remove_if(after.overrides.begin(), after.overrides.end(), [&](const FareOverride &o) {
        return cleared.contains({o.stop, o.ticket});
    });
    // Cells showing the rule's fare already: no step, nothing modified.
    if (removed == after.overrides.end()) {
        return;
    }
    after.overrides.erase(removed, after.overrides.end());
    push(after, {}, QStringLiteral("入力した運賃の取り消し"));
}

void RouteDocument::clearAllFares()
{
    // Columns beyond the fares hold no rule's value: they stay.
    RouteSource after = m_source;
    std::erase_if(after.overrides, [](const FareOverride &o) { return o.ticket <= RouteBuilder::MaxTickets; });
    if (after.overrides.size() == m_source.overrides.size()) {
        return;
    }
    push(after, {}, QStringLiteral("入力した運賃をすべて取り消し"));
}

void RouteDocument::setAnnouncements(const QList<TapeRecord> &records, const QString &text)
{
    // The English lines follow their announcements: rows inserted get none,
    // rows removed take theirs along, and an edited one keeps its own.
    const QList<TapeRecord> before = RouteAnnouncements::ofSource(m_source);
    const QStringList english = RouteAnnouncements::englishOfSource(m_source);
    qsizetype head = 0;
    while (head < before.size() && head < records.size() && before.at(head) == records.at(head)) {
        ++head;
    }
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < records.size() - head
           && before.at(before.size() - 1 - tail) == records.at(records.size() - 1 - tail)) {
        ++tail;
    }
    QStringList lines = english.mid(0, head);
    const qsizetype middle = records.size() - head - tail;
    if (middle == before.size() - head - tail) {
        lines << english.mid(head, middle);
    } else {
        for (qsizetype i = 0; i < middle; ++i) {
            lines << QString();
        }
    }
    lines << english.mid(before.size() - tail);
    setAnnouncements(records, lines, text);
}

void RouteDocument::setAnnouncements(const QList<TapeRecord> &records, const QStringList &english, const QString &text)
{
    QStringList lines = english;
    if (std::all_of(lines.cbegin(), lines.cend(), [](const QString &line) { return line.isEmpty(); })) {
        lines.clear();
    }
    // An author who leaves no announcement wants none.
    if (records == m_source.announcements && records.isEmpty() == m_source.noAnnouncementsWanted
        && lines == m_source.englishAnnouncements) {
        return;
    }
    RouteSource after = m_source;
    after.announcements = records;
    after.noAnnouncementsWanted = records.isEmpty();
    after.englishAnnouncements = lines;
    push(after, {}, text);
}

void RouteDocument::setHeadsignNames(const QMap<QString, QString> &names)
{
    if (names == m_source.headsignNames) {
        return;
    }
    RouteSource after = m_source;
    after.headsignNames = names;
    push(after, {}, QStringLiteral("行先の外国語名"));
}

void RouteDocument::setTrips(const std::vector<RouteTrip> &trips, const QString &text)
{
    if (trips == m_source.trips) {
        return;
    }
    RouteSource after = m_source;
    after.trips = trips;
    push(after, {}, text);
}

void RouteDocument::regenerateAnnouncements()
{
    setAnnouncements(RouteAnnouncements::generate(m_source), RouteAnnouncements::generateEnglish(m_source),
                     QStringLiteral("放送文の作り直し"));
}

void RouteDocument::setReading(const QString &word, const QString &reading)
{
    if (word.isEmpty() || readingFix(word) == reading) {
        return;
    }
    RouteSource after = m_source;
    after.readings.removeIf([&](const QPair<QString, QString> &entry) { return entry.first == word; });
    if (!reading.isEmpty()) {
        after.readings.append({word, reading});
    }
    push(after, {}, QStringLiteral("読みの修正"));
}

QString RouteDocument::readingFix(const QString &word) const
{
    for (const auto &[written, reading] : m_source.readings) {
        if (written == word) {
            return reading;
        }
    }
    return {};
}

void RouteDocument::apply(const RouteSource &source, const RouteChange &change)
{
    using Kind = RouteChange::Kind;
    const int before = change.rowsBefore;
    const int after = change.rowsAfter;
    if (change.kind == Kind::Edited && before != after) {
        // Views are told of rows coming or going apart from rows changing
        // in place: the rows they keep must read the same until told.
        const int common = std::min(before, after);
        const RouteChange inPlace{Kind::Edited, change.first, common - change.first, 0, common, common};
        RouteSource between = m_source;
        if (after > before) {
            between.stops.insert(between.stops.end(), source.stops.begin() + before, source.stops.end());
            step(between, {Kind::Inserted, before, after - before, 0, before, after});
            step(source, {inPlace.kind, inPlace.first, inPlace.count, 0, after, after});
        } else {
            std::copy(source.stops.begin(), source.stops.end(), between.stops.begin());
            step(between, {inPlace.kind, inPlace.first, inPlace.count, 0, before, before});
            step(source, {Kind::Removed, after, before - after, 0, before, after});
        }
    } else {
        step(source, change);
    }
    emit changed();
}

void RouteDocument::step(const RouteSource &source, const RouteChange &change)
{
    const bool told = change.kind != RouteChange::Kind::Edited || change.count > 0;
    if (told) {
        emit aboutToChange(change);
    }
    m_source = source;
    rebuild();
    if (told) {
        emit stopsChanged(change);
    }
}

void RouteDocument::push(const RouteSource &after, RouteChange change, const QString &text)
{
    change.rowsBefore = static_cast<int>(m_source.stops.size());
    change.rowsAfter = static_cast<int>(after.stops.size());
    m_undo->push(new Edit(this, m_source, after, change, text));
}

void RouteDocument::rebuild()
{
    m_board = std::make_unique<RouteBuilder>(m_source);
    m_problems = m_board->check(m_hasGlyph);
    m_problemTexts.clear();
    for (const RouteProblem &problem : m_problems) {
        if (problem.stop > 0) {
            QString &lines = m_problemTexts[{problem.stop, problem.column}];
            lines += (lines.isEmpty() ? QString() : QStringLiteral("\n")) + problem.text;
        }
    }
}

void RouteDocument::setPath(const QString &path)
{
    if (path == m_path) {
        return;
    }
    m_path = path;
    emit filePathChanged(m_path);
}
