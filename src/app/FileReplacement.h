#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <vector>

// Files replaced whole: each is written to a new file beside it and renamed
// over it only when every byte is on disk, so that a reader sees the old file
// or the new one and never a part. What is in place is replaced itself: a
// symbolic link there (or a folder, a device, a pipe) is refused, never
// written through, so that a link planted where a file goes cannot turn a
// save into a write to the file it points at.
//
// Several files added to one replacement are put in place together: when
// one of them cannot be, the ones already renamed get their old contents
// back (or go again when they are new), so a save of several files is all
// or nothing. Temporaries never put in place are removed with the object.
class FileReplacement
{
public:
    enum class Problem {
        None,
        Refused,      // a link or something other than a plain file is in the way
        CannotCreate, // no temporary file can be made in the folder
        CannotWrite,  // writing, flushing or renaming failed
    };

    FileReplacement();
    ~FileReplacement();
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;

    // Writes `bytes` to a temporary file beside `path`. The new file takes
    // the permissions of the file it replaces, `permissions` when given, and
    // otherwise those a new file gets. False with the problem when the file
    // cannot be prepared; nothing is in place until commit().
    bool add(const QString &path, const QByteArray &bytes, QFileDevice::Permissions permissions = {});
    // An empty temporary file beside `path` for a writer that writes by
    // name (an encoder's file sink), prepared as add() does; its name, or
    // empty with the problem. Its bytes reach the disk before commit()
    // renames it, like the others.
    QString addWrittenByName(const QString &path);
    // Puts every file added in place.
    bool commit();

    Problem problem() const { return m_problem; }
    // What went wrong, naming the file.
    QString errorString() const { return m_error; }

    // One file replaced whole; false with the reason (naming the file) in
    // `error` when it cannot be.
    static bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr,
                      QFileDevice::Permissions permissions = {});
    // Why a file cannot be replaced where `path` is (a link, a folder, ...),
    // naming it; empty when it can be (also when nothing is there yet).
    static QString refusal(const QString &path);

private:
    struct Entry
    {
        QString path;
        QString temporary;
        QString backup; // a second name of the old file while others are put in place
        bool placed = false;
        bool writtenByName = false; // flushed to disk at commit(), not by add()
    };

    bool fail(Problem problem, const QString &text);
    void rollBack();
    // Temporaries not put in place and second names of old files.
    void removeLeftovers();

    std::vector<Entry> m_entries;
    Problem m_problem = Problem::None;
    QString m_error;
};
