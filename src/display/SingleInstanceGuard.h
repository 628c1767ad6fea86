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
    explicit SingleInstanceGuard(const QString &settingsPath, QObject *parent = nullptr);

    // True for the first start, which then listens for later ones. False when
    // another start already runs with these settings; it has been asked to
    // come to the front.
    bool claim();

    // The socket name for a settings file: the same file gives the same name.
    static QString serverName(const QString &settingsPath);

signals:
    // A later start asked this program to come to the front.
    void activationRequested();

private:
    void askRunningStartToComeForward() const;

    QString m_serverName;
    QLockFile m_lock;
    QLocalServer m_server;
};
