#include "HttpConnection.h"

#include <QTcpSocket>

#include <sys/socket.h>

namespace {

// What the socket keeps of what the client sent before it is read: a whole
// head fits, and a client that sends faster than it is read waits.
constexpr qint64 ReadBufferSize = 64 * 1024;
// How much is looked at in one go.
constexpr qint64 ReadChunk = 16 * 1024;
// Answers the client has not taken yet: beyond this, its next request waits.
constexpr qint64 MaxUnsentAnswers = 64 * 1024;
// What a refused client may still send, unread, while it takes its answer.
constexpr qint64 MaxDrained = 1024 * 1024;

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 409: return "Conflict";
    case 413: return "Content Too Large";
    case 415: return "Unsupported Media Type";
    case 422: return "Unprocessable Content";
    case 426: return "Upgrade Required";
    case 429: return "Too Many Requests";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 501: return "Not Implemented";
    case 503: return "Service Unavailable";
    case 505: return "HTTP Version Not Supported";
    default: return "Status";
    }
}

} // namespace

HttpConnection::HttpConnection(QTcpSocket *socket, Handler &handler, const Timeouts &timeouts, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_handler(handler)
    , m_timeouts(timeouts)
    , m_peer(socket->peerAddress())
    , m_parser(RemoteApi::MaxBody)
{
    socket->setParent(this);
    socket->setReadBufferSize(ReadBufferSize);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &HttpConnection::timedOut);
    connect(socket, &QTcpSocket::readyRead, this, [this] {
        if (m_state == State::Draining) {
            drain();
        } else {
            readRequests();
        }
    });
    connect(socket, &QTcpSocket::bytesWritten, this, [this] {
        if (m_state == State::Closing) {
            closeWhenSent();
        } else {
            readRequests();
        }
    });
    connect(socket, &QTcpSocket::disconnected, this, &HttpConnection::end);
    // The head stays in the socket until it has been read whole, so that a
    // WebSocket's can be handed on unread.
    socket->startTransaction();
    m_timer.start(m_timeouts.request);
}

HttpConnection::~HttpConnection() = default;

void HttpConnection::readRequests()
{
    while (m_state == State::Reading && m_socket) {
        switch (m_parser.stage()) {
        case HttpRequestParser::Stage::Failed:
            fail(m_parser.failureStatus(), m_parser.failureReason());
            return;
        case HttpRequestParser::Stage::HeadRead:
            if (!headRead()) {
                return;
            }
            continue;
        case HttpRequestParser::Stage::Complete:
            if (!answer()) {
                return;
            }
            continue;
        default:
            break;
        }
        // A client that does not take its answers gets no more of them.
        if (!m_parser.hasStarted() && m_socket->bytesToWrite() > MaxUnsentAnswers) {
            return;
        }
        const qint64 available = m_socket->bytesAvailable();
        if (available <= 0) {
            return;
        }
        if (m_idle) {
            m_idle = false;
            m_timer.start(m_timeouts.request);
        }
        const qsizetype taken = m_parser.feed(m_socket->peek(qMin(available, ReadChunk)));
        m_socket->skip(taken);
    }
}

bool HttpConnection::headRead()
{
    const std::optional<RemoteReply> refusal = m_handler.headRead(m_parser, m_peer);
    if (refusal) {
        respond(*refusal, true);
        return false;
    }
    if (m_parser.asksForWebSocket()) {
        m_timer.stop();
        m_state = State::Done;
        QTcpSocket *socket = m_socket;
        m_socket = nullptr;
        socket->disconnect(this);
        socket->rollbackTransaction();
        socket->setParent(nullptr);
        m_handler.upgrade(socket);
        emit finished();
        return false;
    }
    m_socket->commitTransaction();
    m_parser.readBody();
    if (m_parser.stage() == HttpRequestParser::Stage::Body && m_parser.expectsContinue()) {
        m_socket->write("HTTP/1.1 100 Continue\r\n\r\n");
    }
    return true;
}

bool HttpConnection::answer()
{
    m_timer.stop();
    m_state = State::Handling;
    // Answering may run the event loop (the panel's lamp test): the client
    // may go, and take this connection with it, meanwhile.
    const QPointer<HttpConnection> alive(this);
    const RemoteReply reply = m_handler.requestRead(m_parser, m_peer);
    if (!alive || m_state != State::Handling || !m_socket) {
        return false;
    }
    m_state = State::Reading;
    const bool keepAlive = m_parser.keepAlive();
    respond(reply, !keepAlive);
    if (keepAlive) {
        nextRequest();
    }
    return keepAlive;
}

void HttpConnection::nextRequest()
{
    m_parser.reset();
    m_socket->startTransaction();
    m_idle = true;
    m_timer.start(m_timeouts.idle);
}

void HttpConnection::fail(int status, const QString &reason)
{
    respond(m_handler.refused(m_peer, m_parser.target(), status, reason), true);
}

QByteArray HttpConnection::response(const RemoteReply &reply, bool close, bool http11, bool withBody)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
    if (!reply.contentType.isEmpty()) {
        out += "Content-Type: " + reply.contentType + "\r\n";
    }
    out += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    for (const auto &[name, value] : reply.headers) {
        out += name + ": " + value + "\r\n";
    }
    if (close) {
        out += "Connection: close\r\n";
    } else if (!http11) {
        out += "Connection: keep-alive\r\n";
    }
    out += "\r\n";
    if (withBody) {
        out += reply.body;
    }
    return out;
}

void HttpConnection::refuseAtOnce(QTcpSocket *socket, const RemoteReply &reply)
{
    socket->write(response(reply, true, true, true));
    socket->flush();
    socket->abort();
    socket->deleteLater();
}

void HttpConnection::respond(const RemoteReply &reply, bool close)
{
    m_socket->write(response(reply, close, m_parser.isHttp11(), m_parser.method() != "HEAD"));
    if (close) {
        closeWhenSent();
    }
}

void HttpConnection::closeWhenSent()
{
    if (m_state != State::Closing) {
        m_state = State::Closing;
        if (m_socket->isTransactionStarted()) {
            m_socket->commitTransaction();
        }
        // The client has this long to take its answer.
        m_timer.start(m_timeouts.request);
    }
    if (m_socket->bytesToWrite() > 0) {
        return;
    }
    // The answer is with the system: the client sees its end, and what it
    // still sends (the rest of a refused body) is dropped until it closes,
    // so that closing does not reset the connection before the answer has
    // been read.
    ::shutdown(static_cast<int>(m_socket->socketDescriptor()), SHUT_WR);
    m_state = State::Draining;
    drain();
}

void HttpConnection::drain()
{
    while (m_socket && m_state == State::Draining) {
        const qint64 available = m_socket->bytesAvailable();
        if (available <= 0) {
            return;
        }
        m_drained += m_socket->skip(available);
        if (m_drained > MaxDrained) {
            end();
        }
    }
}

void HttpConnection::timedOut()
{
    if (m_state == State::Reading && m_parser.hasStarted()) {
        fail(408, QStringLiteral("要求が時間内に届きません"));
        return;
    }
    if (m_state == State::Reading && !m_idle) {
        // A connection that never sent a byte.
        m_handler.refused(m_peer, QByteArray(), 408, QStringLiteral("接続したまま何も送られません"));
    }
    end();
}

void HttpConnection::end()
{
    if (m_state == State::Done) {
        return;
    }
    m_state = State::Done;
    m_timer.stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
    emit finished();
}
