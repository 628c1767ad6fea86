#include "SingleInstanceGuard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

namespace {

// How long a later start waits for the running one to answer.
constexpr int ConnectTimeoutMs = 1000;

} // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString &settingsPath, QObject *parent)
    : QObject(parent)
    , m_serverName(serverName(settingsPath))
    , m_lock(settingsPath + QStringLiteral(".lock"))
{
    // The lock is held for the whole run, so it never goes stale by age; one
    // left by a program that crashed is taken over, its process being gone.
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            socket->deleteLater();
            emit activationRequested();
        }
    });
}

QString SingleInstanceGuard::serverName(const QString &settingsPath)
{
    const QByteArray path = QFileInfo(settingsPath).absoluteFilePath().toUtf8();
    return QStringLiteral("tavelo-")
        + QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16));
}

bool SingleInstanceGuard::claim()
{
    QDir().mkpath(QFileInfo(m_lock.fileName()).absolutePath());
    if (!m_lock.tryLock(0)) {
        if (m_lock.error() == QLockFile::LockFailedError) {
            askRunningStartToComeForward();
            return false;
        }
        // The lock cannot be made at all (an unwritable folder): run without
        // the guard rather than not at all.
        return true;
    }
    // We hold the lock, so a socket of that name is a crashed start's leftover.
    QLocalServer::removeServer(m_serverName);
    m_server.listen(m_serverName);
    return true;
}

void SingleInstanceGuard::askRunningStartToComeForward() const
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (socket.waitForConnected(ConnectTimeoutMs)) {
        socket.disconnectFromServer();
    }
}
