#pragma once

#include "formats/CsvReader.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class GtfsProgress;

// The files of a GTFS / GTFS-JP feed: a folder of .txt files or a .zip of
// them (read through libzip; the files may sit in one folder inside it).
//
// A feed is outside data of any size: every byte read from it, a zip
// entry's inflated bytes as they come and a folder's files alike, counts
// against one budget, and a file whose declared or actual size passes what
// is left of it is refused by name before it takes the memory. A folder
// feed reads plain files only (a link is followed to a plain file, never to
// a device or a pipe, which could never end or never answer).
class GtfsFeed
{
public:
    // Far above the largest real feed (a whole big operator's stop_times.txt
    // is a few hundred megabytes).
    static constexpr qint64 DefaultBudget = qint64(1) << 30;

    // Nothing, with the reason in `error`, when the path is neither a
    // folder nor a readable zip archive.
    static std::unique_ptr<GtfsFeed> open(const QString &path, QString &error, qint64 budget = DefaultBudget);
    virtual ~GtfsFeed() = default;
    GtfsFeed(const GtfsFeed &) = delete;
    GtfsFeed &operator=(const GtfsFeed &) = delete;

    // The bytes of a file of the feed ("stops.txt"); nothing when the feed
    // has no such file. A file that is there but cannot be read, or would
    // pass the budget, is an error naming it; so is a reading stopped
    // through the progress.
    std::optional<QByteArray> read(const QString &name, QString &error);

    // Where reads and table walks report, and look for a request to stop;
    // none by default. It must outlive the feed's reading.
    void setProgress(GtfsProgress *progress) { m_progress = progress; }
    GtfsProgress *progress() const { return m_progress; }

protected:
    explicit GtfsFeed(qint64 budget)
        : m_budget(budget)
    {
    }

    // The file's bytes, at most `budget` of them (budgetText() otherwise).
    virtual std::optional<QByteArray> readFile(const QString &name, qint64 budget, QString &error) = 0;
    QString budgetText(const QString &name) const;
    bool isCancelled() const;

private:
    qint64 m_budget;
    qint64 m_used = 0;
    GtfsProgress *m_progress = nullptr;
};

// One table of a feed: UTF-8 with or without a byte-order mark, LF or CR LF,
// quoted fields, columns in any order and with blanks around their names,
// extra columns ignored.
class GtfsTable
{
public:
    // The table, or nothing with the reason in `error`: not UTF-8, or a
    // column of `required` missing (the file and the column are named).
    static std::optional<GtfsTable> parse(const QString &file, const QByteArray &bytes, const QStringList &required,
                                          QString &error);

    // The column's index, -1 when the table has none.
    int column(const QString &name) const { return m_columns.value(name, -1); }
    const QString &file() const { return m_file; }

    // Whether the header has every column of `columns`; the first missing
    // one is named in `error`.
    bool hasColumns(const QStringList &columns, QString &error) const;

    // Calls `row` for every record after the header (blank lines skipped)
    // with its fields and its line; a field past the end of a short record
    // reads as empty. A record that cannot be read (a quote left open,
    // text after a closing quote) stops the walk with `error` naming the file
    // and the line; `row` may stop it too by returning an error text, and
    // so does a request to stop made through the feed's progress.
    bool forEachRow(const std::function<QString(const QStringList &fields, int line)> &row, QString &error) const;

    // The field of a row by column index; empty for -1 or a short row.
    static QString field(const QStringList &fields, int column)
    {
        return column >= 0 && column < fields.size() ? fields.at(column) : QString();
    }

    // A file of the feed that must be there, parsed; nothing with the
    // reason when it is missing or its header lacks a column.
    static std::optional<GtfsTable> required(GtfsFeed &feed, const QString &file, const QStringList &columns,
                                             QString &error);
    // A file that may be missing: nothing and no error then. Its walks
    // report to the feed's progress.
    static std::optional<GtfsTable> optional(GtfsFeed &feed, const QString &file, const QStringList &columns,
                                             QString &error);

    // "stops.txt 12 行目: " + text: how a bad line is reported.
    static QString lineError(const QString &file, int line, const QString &text);

private:
    QString m_file;
    QString m_text;
    QHash<QString, int> m_columns;
    GtfsProgress *m_progress = nullptr;
};
