#include "SingleInstanceGuard.h"

#include "ErrorReport.h"
#include "PrivateSocketFolder.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <QSysInfo>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <utility>

#include <sys/socket.h>
#include <unistd.h>

namespace {

// How long a later start waits for the running one to answer. The running
// one answers from its event loop, which a waited sound can hold a while.
constexpr int AnswerTimeoutMs = 5000;
// How long it waits before it tries to connect again.
constexpr int RetryMs = 50;
// How long the running start waits for a caller's request.
constexpr int RequestTimeoutMs = 10000;
// A request is a short line; a longer one is not ours.
constexpr qint64 MaxRequestBytes = 64 * 1024;
// What the running start says first: the kernel accepts a connection even
// for a program that hangs, so only an answer shows that the program runs.
constexpr char Greeting = '\n';

// Whether a program that runs holds the lock: one that crashed leaves its
// lock file behind, naming a process that is gone.
bool heldByRunningProgram(const QString &lockPath)
{
    const QLockFile lock(lockPath);
    qint64 pid = 0;
    QString host;
    QString program;
    if (!lock.getLockInfo(&pid, &host, &program)) {
        return false;
    }
    // A lock taken on another machine (a shared folder) cannot be looked into.
    if (host != QSysInfo::machineHostName()) {
        return true;
    }
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// The account of the process at the other end of a connected local socket:
// for the listening side the one that connected, for a caller the one that
// listens. Nothing when the system does not say.
std::optional<uint> peerUid(qintptr descriptor)
{
    struct ucred credentials = {};
    socklen_t size = sizeof credentials;
    if (descriptor < 0
        || ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0
        || size != sizeof credentials) {
        return std::nullopt;
    }
    return credentials.uid;
}

} // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString &settingsPath, QObject *parent)
    : QObject(parent)
    , m_settingsPath(settingsPath)
    , m_lock(settingsPath + QStringLiteral(".lock"))
{
    // The lock is held for the whole run, so it never goes stale by age; one
    // left by a program that crashed is taken over, its process being gone.
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (const std::optional<uint> uid = peerUid(socket->socketDescriptor()); !acceptsPeer(uid)) {
                if (!std::exchange(m_refusalLogged, true)) {
                    ErrorReport::log(QStringLiteral("A connection of another account to the single-instance socket was refused"),
                                     uid ? QStringLiteral("uid %1").arg(*uid) : QStringLiteral("uid unknown"));
                }
                socket->abort();
                socket->deleteLater();
                continue;
            }
            socket->write(&Greeting, 1);
            socket->flush();
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
            // A caller that never sends its request does not keep the
            // connection open for the rest of the run.
            QTimer::singleShot(RequestTimeoutMs, socket, &QLocalSocket::abort);
        }
    });
}

void SingleInstanceGuard::answer(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > MaxRequestBytes) {
            socket->abort();
        }
        return;
    }
    // One request to a connection.
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(socket->readLine(MaxRequestBytes), &parseError);
    const QJsonObject request = document.object();
    QJsonObject reply;
    if (!document.isObject()) {
        reply = {{"ok", false}, {"error", QStringLiteral("要求を読めません: ") + parseError.errorString()}};
    } else if (request.value("request").toString() == QLatin1String("front")) {
        emit activationRequested();
        reply = {{"ok", true}};
    } else if (m_handler) {
        // The handler may run a while (a route setting plays its sound):
        // the caller may have gone meanwhile.
        const QPointer<QLocalSocket> alive(socket);
        reply = m_handler(request);
        if (!alive) {
            return;
        }
    } else {
        reply = {{"ok", false}, {"error", QStringLiteral("この要求には答えられません: ") + request.value("request").toString()}};
    }
    socket->write(QJsonDocument(reply).toJson(QJsonDocument::Compact) + '\n');
    socket->flush();
    // Closes once the answer is written.
    socket->disconnectFromServer();
}

QString SingleInstanceGuard::serverName(const QString &settingsPath, QString *problem)
{
    const QString folder = PrivateSocketFolder::path(problem);
    if (folder.isEmpty()) {
        return {};
    }
    const QByteArray path = QFileInfo(settingsPath).absoluteFilePath().toUtf8();
    return QDir(folder).filePath(QStringLiteral("tavelo-")
        + QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16)));
}

bool SingleInstanceGuard::acceptsPeer(std::optional<uint> uid)
{
    return uid && *uid == ::geteuid();
}

SingleInstanceGuard::Claim SingleInstanceGuard::claim()
{
    QDir().mkpath(QFileInfo(m_lock.fileName()).absolutePath());
    if (!m_lock.tryLock(0)) {
        if (m_lock.error() == QLockFile::LockFailedError) {
            return ask(m_settingsPath, {{"request", "front"}}, AnswerTimeoutMs).status == Reply::Answered
                ? Claim::Forwarded
                : Claim::NoAnswer;
        }
        // The lock cannot be made at all (an unwritable folder): run without
        // the guard rather than not at all.
        return Claim::First;
    }
    // Looked for again: the folder may have come or gone since.
    m_serverName = serverName(m_settingsPath, &m_listenProblem);
    if (!m_serverName.isEmpty()) {
        // We hold the lock, so a socket of that name is a crashed start's leftover.
        QLocalServer::removeServer(m_serverName);
        // Its folder is private already; the socket itself is too, whatever the umask.
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        if (!m_server.listen(m_serverName)) {
            m_listenProblem = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_serverName), m_server.errorString());
        }
    }
    if (!m_listenProblem.isEmpty()) {
        ErrorReport::log(QStringLiteral("Later starts and the route editor cannot reach this program"), m_listenProblem);
    }
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

SingleInstanceGuard::Reply SingleInstanceGuard::ask(const QString &settingsPath, const QJsonObject &request,
                                                     int timeoutMs)
{
    const QString name = serverName(settingsPath);
    const QString lockPath = settingsPath + QStringLiteral(".lock");
    // The running start listens a moment after it took the lock, so a caller
    // that comes just then tries again until the time is up; without the
    // lock, or with one a crashed start left, nobody runs with these settings.
    const QDeadlineTimer deadline(timeoutMs);
    while (true) {
        QLocalSocket socket;
        if (!name.isEmpty()) {
            socket.connectToServer(name);
        }
        if (!name.isEmpty() && socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            // Not a word to a socket another account listens on: it would
            // learn where this user's files are, and could answer anything.
            if (!acceptsPeer(peerUid(socket.socketDescriptor()))) {
                return {Reply::NoAnswer, {}};
            }
            if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))
                || socket.read(1) != QByteArray(1, Greeting)) {
                return {Reply::NoAnswer, {}};
            }
            socket.write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
            while (!socket.canReadLine()) {
                if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
                    return {Reply::NoAnswer, {}};
                }
            }
            return {Reply::Answered, QJsonDocument::fromJson(socket.readLine()).object()};
        }
        if (!heldByRunningProgram(lockPath)) {
            return {Reply::NotRunning, {}};
        }
        if (deadline.hasExpired()) {
            return {Reply::NoAnswer, {}};
        }
        QThread::msleep(RetryMs);
    }
}
