#pragma once

#include <QJsonObject>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <functional>

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
};
