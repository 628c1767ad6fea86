#pragma once

#include <QJsonObject>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <functional>
#include <optional>

class QLocalSocket;

// Keeps a second start of the program from opening a second board over the
// first and, at its end, overwriting the first one's settings. The first
// start holds a lock beside the settings file and listens on a local socket
// named after that file; a second start with the same settings file finds the
// lock taken, asks the running program to come to the front, and ends.
//
// The same socket carries the route editor's requests. A connection is
// greeted with one newline (the greeting shows the program runs: the kernel
// accepts a connection even for a program that hangs), then the caller sends
// one request, a JSON object on one line, and gets one JSON object on one
// line back. {"request":"front"} brings the program to the front; others go
// to the request handler.
//
// The socket sets routes on the display, so only this user reaches it: it
// lives in a private folder (PrivateSocketFolder), the program answers only
// connections of this user's, and a caller talks only to a socket this user's
// program listens on.
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

    // Why later starts and the route editor cannot reach this program, as
    // the operator reads it; empty while it listens.
    QString listenProblem() const { return m_listenProblem; }

    // The socket's path for a settings file: the same file gives the same
    // path. Empty, with the reason in `problem`, when there is no private
    // folder to put it in.
    static QString serverName(const QString &settingsPath, QString *problem = nullptr);

    // Whether a connection whose other end belongs to the account `uid` may
    // talk to this program, or a caller to the program at the other end:
    // only when it is this user's own. An owner that cannot be told is
    // refused too.
    static bool acceptsPeer(std::optional<uint> uid);

    // Answers the requests other than "front"; without one they are refused.
    using RequestHandler = std::function<QJsonObject(const QJsonObject &request)>;
    void setRequestHandler(RequestHandler handler) { m_handler = std::move(handler); }

    // What a caller learns from the program that holds `settingsPath`.
    struct Reply
    {
        enum Status {
            Answered,
            // Nobody holds these settings: the program does not run.
            NotRunning,
            // A program listens but did not answer in time.
            NoAnswer,
        };
        Status status = NotRunning;
        QJsonObject answer;
    };
    // Sends `request` to the program holding `settingsPath` and waits up to
    // `timeoutMs` for its answer.
    static Reply ask(const QString &settingsPath, const QJsonObject &request, int timeoutMs);

signals:
    // A later start asked this program to come to the front.
    void activationRequested();

private:
    void answer(QLocalSocket *socket);

    QString m_settingsPath;
    QString m_serverName;
    QLockFile m_lock;
    QLocalServer m_server;
    RequestHandler m_handler;
    QString m_listenProblem;
    // Whether a refused connection has been logged: once a run is enough.
    bool m_refusalLogged = false;
};
