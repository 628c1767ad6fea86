#pragma once

#include <QMutex>
#include <QString>

#include <atomic>

// How far the reading of a feed has come, shared between the thread that
// reads it and the window that shows it: the file being read, the part of it
// walked, and whether the reader is asked to stop. Every read and every walk
// of a table looks at the request, so that stopping takes effect at once.
class GtfsProgress
{
public:
    // Asks the reading to stop; it ends with cancelledText() as its error.
    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    bool isCancelled() const { return m_cancelled.load(std::memory_order_relaxed); }
    static QString cancelledText();

    void setFile(const QString &name);
    QString file() const;
    // The part of the current file walked, 0 to 1000.
    void setPermille(int permille) { m_permille.store(permille, std::memory_order_relaxed); }
    int permille() const { return m_permille.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> m_cancelled{false};
    std::atomic<int> m_permille{0};
    mutable QMutex m_mutex;
    QString m_file;
};
