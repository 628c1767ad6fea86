#include "GtfsFeed.h"

#include "GtfsProgress.h"
#include "app/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <zip.h>

#include <algorithm>
#include <vector>

namespace {

// Every value trimmed of the blanks around it, quoted or not, as the
// header's names are.
constexpr CsvReader::Options GtfsCsv{.trimBlanks = true, .trimQuoted = true};

QString problemText(CsvReader::Problem problem)
{
    return problem == CsvReader::Problem::OpenQuote ? QStringLiteral("「\"」が閉じていません")
                                                   : QStringLiteral("閉じた「\"」の後に余分な文字があります");
}

// The files every feed has; where they are is where a feed is.
const QStringList FeedFiles{QStringLiteral("agency.txt"), QStringLiteral("stops.txt"), QStringLiteral("routes.txt"),
                            QStringLiteral("trips.txt"), QStringLiteral("stop_times.txt")};

class FolderFeed : public GtfsFeed
{
public:
    FolderFeed(const QString &path, qint64 budget)
        : GtfsFeed(budget)
        , m_dir(path)
    {
    }

protected:
    std::optional<QByteArray> readFile(const QString &name, qint64 budget, QString &error) override
    {
        WholeFile::Contents file = WholeFile::read(m_dir.filePath(name), budget);
        switch (file.problem) {
        case WholeFile::Problem::None:
            return std::move(file.bytes);
        case WholeFile::Problem::Missing:
            return std::nullopt;
        case WholeFile::Problem::NotAFile:
            error = QStringLiteral("%1: 普通のファイルではありません（パイプやデバイスは読みません）").arg(name);
            return std::nullopt;
        case WholeFile::Problem::TooLarge:
            error = budgetText(name);
            return std::nullopt;
        case WholeFile::Problem::CannotOpen:
            break;
        }
        error = QStringLiteral("%1: 読めません（%2）").arg(name, file.errorString);
        return std::nullopt;
    }

private:
    QDir m_dir;
};

class ZipFeed : public GtfsFeed
{
public:
    ZipFeed(zip_t *archive, QString path, qint64 budget)
        : GtfsFeed(budget)
        , m_archive(archive)
        , m_path(std::move(path))
    {
        // Each file by its own name, wherever it sits in the archive; the
        // first of a name wins.
        const zip_int64_t count = zip_get_num_entries(m_archive, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            const char *entry = zip_get_name(m_archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
            if (entry == nullptr) {
                continue;
            }
            const QString name = QString::fromUtf8(entry).section(QLatin1Char('/'), -1);
            if (!name.isEmpty() && !m_entries.contains(name)) {
                m_entries.insert(name, static_cast<zip_uint64_t>(i));
            }
        }
    }
    ~ZipFeed() override { zip_discard(m_archive); }

protected:
    std::optional<QByteArray> readFile(const QString &name, qint64 budget, QString &error) override
    {
        const auto found = m_entries.constFind(name);
        if (found == m_entries.cend()) {
            return std::nullopt;
        }
        // The declared size is refused before anything is allocated; the
        // inflated bytes are counted as they come, for a size can lie.
        zip_stat_t stat;
        zip_stat_init(&stat);
        const bool sized = zip_stat_index(m_archive, *found, 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE);
        if (sized && stat.size > static_cast<zip_uint64_t>(budget)) {
            error = budgetText(name);
            return std::nullopt;
        }
        zip_file_t *file = zip_fopen_index(m_archive, *found, 0);
        if (file == nullptr) {
            error = QStringLiteral("%1 (%2): 読めません（%3）").arg(name, m_path, QString::fromUtf8(zip_strerror(m_archive)));
            return std::nullopt;
        }
        const qint64 declared = sized ? static_cast<qint64>(stat.size) : 0;
        QByteArray bytes;
        bytes.reserve(std::min(declared, FirstReserve));
        std::vector<char> chunk(ChunkBytes);
        GtfsProgress *const watcher = progress();
        while (true) {
            if (isCancelled()) {
                error = GtfsProgress::cancelledText();
                break;
            }
            const zip_int64_t got = zip_fread(file, chunk.data(), chunk.size());
            if (got < 0) {
                // Read to the end, so that a wrong checksum is seen here.
                error = QStringLiteral("%1 (%2): 読めません（%3）")
                            .arg(name, m_path, QString::fromUtf8(zip_error_strerror(zip_file_get_error(file))));
                break;
            }
            if (got == 0) {
                break;
            }
            if (bytes.size() + got > budget) {
                error = budgetText(name);
                break;
            }
            bytes.append(chunk.data(), static_cast<qsizetype>(got));
            if (watcher != nullptr && declared > 0) {
                watcher->setPermille(static_cast<int>(std::min<qint64>(1000, bytes.size() * 1000 / declared)));
            }
        }
        zip_fclose(file);
        if (!error.isEmpty()) {
            return std::nullopt;
        }
        return bytes;
    }

private:
    static constexpr qint64 FirstReserve = qint64(64) * 1024 * 1024;
    static constexpr size_t ChunkBytes = 256 * 1024;

    zip_t *m_archive;
    QString m_path;
    QHash<QString, zip_uint64_t> m_entries;
};

} // namespace

std::unique_ptr<GtfsFeed> GtfsFeed::open(const QString &path, QString &error, qint64 budget)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        return std::make_unique<FolderFeed>(path, budget);
    }
    if (!info.exists()) {
        error = QStringLiteral("%1: ありません").arg(path);
        return nullptr;
    }
    if (!info.isFile()) {
        error = QStringLiteral("%1: フォルダでも zip でもありません（普通のファイルではありません）").arg(path);
        return nullptr;
    }
    // Opened as unzip and other readers do, without comparing every local
    // header with the central directory: real feeds are written by tools
    // whose headers disagree in ways that do not matter (a time, a version).
    // What is really broken still shows when an entry is read: data that
    // cannot be inflated or a wrong checksum, with the entry named.
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (archive == nullptr) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        error = QStringLiteral("%1: フォルダでも zip でもありません（%2）").arg(path, QString::fromUtf8(zip_error_strerror(&zipError)));
        zip_error_fini(&zipError);
        return nullptr;
    }
    // One feed to a zip: files of a feed in two folders are two feeds, and
    // reading the first of each name would mix or silently choose them.
    QStringList folders;
    const zip_int64_t entries = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        const char *entry = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        const QString name = entry != nullptr ? QString::fromUtf8(entry) : QString();
        const QString file = name.section(QLatin1Char('/'), -1);
        if (name.startsWith(QStringLiteral("__MACOSX/")) || !FeedFiles.contains(file)) {
            continue;
        }
        const QString folder = name.left(name.size() - file.size());
        if (!folders.contains(folder)) {
            folders << folder;
        }
    }
    if (folders.size() > 1) {
        zip_discard(archive);
        for (QString &folder : folders) {
            folder = folder.isEmpty() ? QStringLiteral("（最上位）") : folder;
        }
        error = QStringLiteral("%1: %2 つのフィードが入っています（%3）。1 つずつのフォルダか zip にして取り込んでください")
                    .arg(path)
                    .arg(folders.size())
                    .arg(folders.join(QStringLiteral(", ")));
        return nullptr;
    }
    return std::make_unique<ZipFeed>(archive, path, budget);
}

std::optional<QByteArray> GtfsFeed::read(const QString &name, QString &error)
{
    if (isCancelled()) {
        error = GtfsProgress::cancelledText();
        return std::nullopt;
    }
    if (m_progress != nullptr) {
        m_progress->setFile(name);
    }
    std::optional<QByteArray> bytes = readFile(name, m_budget - m_used, error);
    if (bytes) {
        m_used += bytes->size();
    }
    return bytes;
}

QString GtfsFeed::budgetText(const QString &name) const
{
    return QStringLiteral("%1: 大きすぎます（フィードから読むのは合わせて %2 MB まで）").arg(name).arg(m_budget / (1024 * 1024));
}

bool GtfsFeed::isCancelled() const
{
    return m_progress != nullptr && m_progress->isCancelled();
}

std::optional<GtfsTable> GtfsTable::required(GtfsFeed &feed, const QString &file, const QStringList &columns,
                                             QString &error)
{
    const std::optional<QByteArray> bytes = feed.read(file, error);
    if (!bytes) {
        if (error.isEmpty()) {
            error = QStringLiteral("%1 がありません（列 %2 が必要です）").arg(file, columns.join(QStringLiteral(", ")));
        }
        return std::nullopt;
    }
    std::optional<GtfsTable> table = parse(file, *bytes, columns, error);
    if (table) {
        table->m_progress = feed.progress();
    }
    return table;
}

std::optional<GtfsTable> GtfsTable::optional(GtfsFeed &feed, const QString &file, const QStringList &columns,
                                             QString &error)
{
    const std::optional<QByteArray> bytes = feed.read(file, error);
    if (!bytes) {
        return std::nullopt;
    }
    std::optional<GtfsTable> table = parse(file, *bytes, columns, error);
    if (table) {
        table->m_progress = feed.progress();
    }
    return table;
}

std::optional<GtfsTable> GtfsTable::parse(const QString &file, const QByteArray &bytes, const QStringList &required,
                                          QString &error)
{
    GtfsTable table;
    table.m_file = file;
    QStringDecoder decoder(QStringDecoder::Utf8);
    table.m_text = decoder.decode(bytes);
    if (decoder.hasError()) {
        // The line of the first bad byte, so that it can be found.
        int line = 1;
        qsizetype lineStart = 0;
        for (qsizetype i = 0; i <= bytes.size(); ++i) {
            if (i == bytes.size() || bytes.at(i) == '\n') {
                QStringDecoder check(QStringDecoder::Utf8);
                const QString decoded = check.decode(QByteArrayView(bytes).sliced(lineStart, i - lineStart));
                if (check.hasError()) {
                    break;
                }
                lineStart = i + 1;
                ++line;
            }
        }
        error = lineError(file, line, QStringLiteral("UTF-8 として読めないバイトがあります"));
        return std::nullopt;
    }
    CsvReader reader(table.m_text, GtfsCsv);
    const CsvReader::Record header = reader.next();
    if (header.problem != CsvReader::Problem::None) {
        error = lineError(file, header.line, problemText(header.problem));
        return std::nullopt;
    }
    for (qsizetype i = 0; i < header.fields.size(); ++i) {
        const QString name = header.fields.at(i).trimmed();
        if (!name.isEmpty() && !table.m_columns.contains(name)) {
            table.m_columns.insert(name, static_cast<int>(i));
        }
    }
    if (!table.hasColumns(required, error)) {
        return std::nullopt;
    }
    return table;
}

bool GtfsTable::hasColumns(const QStringList &columns, QString &error) const
{
    for (const QString &name : columns) {
        if (!m_columns.contains(name)) {
            error = QStringLiteral("%1: 列 %2 がありません").arg(m_file, name);
            return false;
        }
    }
    return true;
}

bool GtfsTable::forEachRow(const std::function<QString(const QStringList &, int)> &row, QString &error) const
{
    CsvReader reader(m_text, GtfsCsv);
    (void)reader.next(); // the header
    for (quint32 rows = 0; !reader.atEnd(); ++rows) {
        if (m_progress != nullptr) {
            if (m_progress->isCancelled()) {
                error = GtfsProgress::cancelledText();
                return false;
            }
            if (rows % 4096 == 0) {
                m_progress->setPermille(static_cast<int>(reader.position() * 1000 / m_text.size()));
            }
        }
        const CsvReader::Record record = reader.next();
        if (record.problem != CsvReader::Problem::None) {
            error = lineError(m_file, record.line, problemText(record.problem));
            return false;
        }
        if (record.count == 1 && record.fields.at(0).isEmpty()) {
            continue; // a blank line
        }
        const QString rowError = row(record.fields, record.line);
        if (!rowError.isEmpty()) {
            error = lineError(m_file, record.line, rowError);
            return false;
        }
    }
    return true;
}

QString GtfsTable::lineError(const QString &file, int line, const QString &text)
{
    return QStringLiteral("%1 %2 行目: %3").arg(file).arg(line).arg(text);
}
