#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

// Keeps a second start of the program from opening a second board over the
// first and, at its end, overwriting the first one's settings. The first
// start holds a lock beside the settings file and listens on a local socket
// named after that file; a second start with the same settings file finds the
// lock taken, asks the running program to come to the front, and ends.
class SingleInstanceGuard : public QObject
{
    Q_OBJECT

public:
    enum class Claim {
        // The first start: it now listens for later ones.
        First,
        // Another start runs with these settings and has been asked to come
        // to the front.
        Forwarded,
        // Another start holds these settings but does not answer (it hangs,
        // or cannot listen): this start must not run beside it.
        NoAnswer,
    };

    explicit SingleInstanceGuard(const QString &settingsPath, QObject *parent = nullptr);

    Claim claim();
    // Why a start whose claim found no answer ends: which settings file, and
    // which process holds it.
    QString noAnswerText() const;

    // The socket name for a settings file: the same file gives the same name.
    static QString serverName(const QString &settingsPath);

signals:
    // A later start asked this program to come to the front.
    void activationRequested();

private:
    // True when the running start took the request.
    bool askRunningStartToComeForward() const;

    QString m_settingsPath;
    QString m_serverName;
    QLockFile m_lock;
    QLocalServer m_server;
};
