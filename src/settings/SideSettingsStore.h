#pragma once

#include "SideSettings.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

// The one copy of the side settings in a run, made as the program starts and
// handed to every part that reads or changes them. It reads the file once at
// the start and again before each change, so that the file's other fields
// (set by hand, or by another copy of the program) stay as they are.
//
// Whatever is wrong with the file is said once: in the log (by the reading)
// and as a problem for the control panel's status row. A file that is damaged
// is kept as PATH.bad by the reading; when it is damaged after a good reading,
// the change is made to the copy held here, so that nothing the good file
// held is lost. A file that cannot be read is never replaced.
class SideSettingsStore : public QObject
{
    Q_OBJECT

public:
    // `path`: the side file; empty: the settings are kept for this run only.
    explicit SideSettingsStore(const QString &path, QObject *parent = nullptr);

    const QString &path() const { return m_path; }
    const SideSettings &settings() const { return m_settings; }

    // Applies `change` and saves the result whole; false with the reason in
    // `error` (said in the log once) when it could not be saved, though this
    // run keeps the change.
    bool update(const std::function<void(SideSettings &)> &change, QString *error = nullptr);

    // What was found wrong with the file, each trouble once; empty when nothing.
    const QStringList &problems() const { return m_problems; }
    // True the first time a save fails in this run: the operator is told
    // of that once, in a message box, and the log says the rest.
    bool takeFailureNotice();

signals:
    void changed();
    // A new trouble with the file, for the status row.
    void problemFound(const QString &text);

private:
    void report(const QString &text);

    QString m_path;
    SideSettings m_settings;
    QStringList m_problems;
    QSet<QString> m_failuresSaid;
    bool m_failureNoticeTaken = false;
};
