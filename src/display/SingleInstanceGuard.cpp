#include "SingleInstanceGuard.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

namespace {

// How long a later start waits for the running one to answer. The running
// one answers from its event loop, which a waited sound can hold a while.
constexpr int AnswerTimeoutMs = 5000;
// How long it waits before it tries to connect again.
constexpr int RetryMs = 50;
// What the running start answers: the kernel accepts a connection even for
// a program that hangs, so only an answer shows that the program runs.
constexpr char Answer = '\n';

} // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString &settingsPath, QObject *parent)
    : QObject(parent)
    , m_settingsPath(settingsPath)
    , m_serverName(serverName(settingsPath))
    , m_lock(settingsPath + QStringLiteral(".lock"))
{
    // The lock is held for the whole run, so it never goes stale by age; one
    // left by a program that crashed is taken over, its process being gone.
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->write(&Answer, 1);
            socket->flush();
            // Closes once the answer is written.
            socket->disconnectFromServer();
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

SingleInstanceGuard::Claim SingleInstanceGuard::claim()
{
    QDir().mkpath(QFileInfo(m_lock.fileName()).absolutePath());
    if (!m_lock.tryLock(0)) {
        if (m_lock.error() == QLockFile::LockFailedError) {
            return askRunningStartToComeForward() ? Claim::Forwarded : Claim::NoAnswer;
        }
        // The lock cannot be made at all (an unwritable folder): run without
        // the guard rather than not at all.
        return Claim::First;
    }
    // We hold the lock, so a socket of that name is a crashed start's leftover.
    QLocalServer::removeServer(m_serverName);
    m_server.listen(m_serverName);
    return Claim::First;
}

QString SingleInstanceGuard::noAnswerText() const
{
    qint64 pid = 0;
    QString host;
    QString program;
    const QString holder = m_lock.getLockInfo(&pid, &host, &program)
        ? QStringLiteral("（プロセス番号 %1、%2）").arg(pid).arg(program)
        : QString();
    return QStringLiteral("同じ設定ファイル %1 を使うプログラム%2が動いていますが、応答しません。"
                          "そのプログラムを終了してから、もう一度起動してください。")
        .arg(QDir::toNativeSeparators(QFileInfo(m_settingsPath).absoluteFilePath()), holder);
}

bool SingleInstanceGuard::askRunningStartToComeForward() const
{
    // The running start listens a moment after it took the lock, so a start
    // that comes just then tries again until the time is up.
    const QDeadlineTimer deadline(AnswerTimeoutMs);
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            return socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))
                && socket.read(1) == QByteArray(1, Answer);
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(RetryMs);
    }
}
