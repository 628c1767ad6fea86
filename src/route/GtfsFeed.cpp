#include "GtfsFeed.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <zip.h>

namespace {

constexpr CsvReader::Options GtfsCsv{.trimBlanks = true};

QString problemText(CsvReader::Problem problem)
{
    return problem == CsvReader::Problem::OpenQuote ? QStringLiteral("「\"」が閉じていません")
                                                   : QStringLiteral("閉じた「\"」の後に余分な文字があります");
}

class FolderFeed : public GtfsFeed
{
public:
    explicit FolderFeed(const QString &path)
        : m_dir(path)
    {
    }

    std::optional<QByteArray> read(const QString &name, QString &error) override
    {
        QFile file(m_dir.filePath(name));
        if (!file.exists()) {
            return std::nullopt;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("%1: 読めません（%2）").arg(name, file.errorString());
            return std::nullopt;
        }
        return file.readAll();
    }

private:
    QDir m_dir;
};

class ZipFeed : public GtfsFeed
{
public:
    ZipFeed(zip_t *archive, QString path)
        : m_archive(archive)
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
    ZipFeed(const ZipFeed &) = delete;
    ZipFeed &operator=(const ZipFeed &) = delete;

    std::optional<QByteArray> read(const QString &name, QString &error) override
    {
        const auto found = m_entries.constFind(name);
        if (found == m_entries.cend()) {
            return std::nullopt;
        }
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(m_archive, *found, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)
            || stat.size > static_cast<zip_uint64_t>(MaxFileBytes)) {
            error = QStringLiteral("%1 (%2): 大きすぎるか読めません").arg(name, m_path);
            return std::nullopt;
        }
        zip_file_t *file = zip_fopen_index(m_archive, *found, 0);
        if (file == nullptr) {
            error = QStringLiteral("%1 (%2): 読めません（%3）").arg(name, m_path, QString::fromUtf8(zip_strerror(m_archive)));
            return std::nullopt;
        }
        QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
        const zip_int64_t got = zip_fread(file, bytes.data(), stat.size);
        zip_fclose(file);
        if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size) {
            error = QStringLiteral("%1 (%2): 読めません（壊れています）").arg(name, m_path);
            return std::nullopt;
        }
        return bytes;
    }

private:
    // A feed file no import needs more of; a bigger entry is refused rather
    // than exhausting memory.
    static constexpr qint64 MaxFileBytes = qint64(512) * 1024 * 1024;

    zip_t *m_archive;
    QString m_path;
    QHash<QString, zip_uint64_t> m_entries;
};

} // namespace

std::unique_ptr<GtfsFeed> GtfsFeed::open(const QString &path, QString &error)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        return std::make_unique<FolderFeed>(path);
    }
    if (!info.exists()) {
        error = QStringLiteral("%1: ありません").arg(path);
        return nullptr;
    }
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (archive == nullptr) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        error = QStringLiteral("%1: フォルダでも zip でもありません（%2）").arg(path, QString::fromUtf8(zip_error_strerror(&zipError)));
        zip_error_fini(&zipError);
        return nullptr;
    }
    return std::make_unique<ZipFeed>(archive, path);
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
    return parse(file, *bytes, columns, error);
}

std::optional<GtfsTable> GtfsTable::optional(GtfsFeed &feed, const QString &file, const QStringList &columns,
                                             QString &error)
{
    const std::optional<QByteArray> bytes = feed.read(file, error);
    if (!bytes) {
        return std::nullopt;
    }
    return parse(file, *bytes, columns, error);
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
    for (const QString &name : required) {
        if (!table.m_columns.contains(name)) {
            error = QStringLiteral("%1: 列 %2 がありません").arg(file, name);
            return std::nullopt;
        }
    }
    return table;
}

bool GtfsTable::forEachRow(const std::function<QString(const QStringList &, int)> &row, QString &error) const
{
    CsvReader reader(m_text, GtfsCsv);
    (void)reader.next(); // the header
    while (!reader.atEnd()) {
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
