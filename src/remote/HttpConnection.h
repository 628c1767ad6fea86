#pragma once

#include "HttpRequestParser.h"
#include "RemoteApi.h"

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <optional>

class QTcpSocket;

// One client's connection to the remote interface: reads its requests one at
// a time with HttpRequestParser, so that no request is kept beyond its limits,
// and writes the answers. A request's head and body must arrive within the
// request timeout, and the next request within the idle timeout; a connection
// that is done is closed after its last answer has been sent. A WebSocket
// upgrade hands the socket on, with the request still unread.
class HttpConnection : public QObject
{
    Q_OBJECT

public:
    struct Timeouts
    {
        std::chrono::milliseconds request{10'000};
        std::chrono::milliseconds idle{60'000};
    };

    // What the connection asks of the server it belongs to.
    class Handler
    {
    public:
        virtual ~Handler() = default;
        // A request's head has been read. A reply given back is sent at once
        // and ends the connection, before any of the body is read (a
        // refusal); nothing lets the request go on: its body is read, or, for
        // a WebSocket, the socket goes to upgrade().
        virtual std::optional<RemoteReply> headRead(const HttpRequestParser &request, const QHostAddress &peer) = 0;
        // The whole request has been read: its answer.
        virtual RemoteReply requestRead(const HttpRequestParser &request, const QHostAddress &peer) = 0;
        // The socket of a WebSocket that may connect, with its request unread:
        // it now belongs to the handler.
        virtual void upgrade(QTcpSocket *socket) = 0;
        // A request that could not be read (malformed, too large, too slow),
        // or a connection that sent nothing in time: the answer, when one is
        // sent before the connection is closed.
        virtual RemoteReply refused(const QHostAddress &peer, const QByteArray &target, int status,
                                    const QString &reason) = 0;
    };

    // Takes over `socket`, a connection just accepted.
    HttpConnection(QTcpSocket *socket, Handler &handler, const Timeouts &timeouts, QObject *parent = nullptr);
    ~HttpConnection() override;

    const QHostAddress &peer() const { return m_peer; }

    // Answers a connection that may not be served with `reply`, as far as
    // the system takes it at once, and closes it without reading from it.
    static void refuseAtOnce(QTcpSocket *socket, const RemoteReply &reply);

signals:
    // The socket has been closed or handed on: the connection may be deleted.
    void finished();

private:
    enum class State { Reading, Handling, Closing, Draining, Done };

    void readRequests();
    bool headRead();
    bool answer();
    void nextRequest();
    void fail(int status, const QString &reason);
    void respond(const RemoteReply &reply, bool close);
    static QByteArray response(const RemoteReply &reply, bool close, bool http11, bool withBody);
    void closeWhenSent();
    void drain();
    void timedOut();
    void end();

    QPointer<QTcpSocket> m_socket;
    Handler &m_handler;
    Timeouts m_timeouts;
    QHostAddress m_peer;
    HttpRequestParser m_parser;
    State m_state = State::Reading;
    // No byte of the next request has come yet.
    bool m_idle = false;
    qint64 m_drained = 0;
    QTimer m_timer;
};
