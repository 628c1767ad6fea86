#include "RemoteServer.h"

#include "LoopbackPeer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>
#include <QWebSocket>
#include <QWebSocketServer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>

namespace {

// The client a connection comes from, for the caps and the log: its address,
// or for IPv6 its /64 network, which one client usually holds whole.
QByteArray clientOf(const QHostAddress &address)
{
    bool isIPv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIPv4);
    if (isIPv4) {
        return QByteArray(reinterpret_cast<const char *>(&ipv4), sizeof ipv4);
    }
    const Q_IPV6ADDR ipv6 = address.toIPv6Address();
    return QByteArray(reinterpret_cast<const char *>(ipv6.c), 8);
}

QString addressText(const QHostAddress &address)
{
    bool isIPv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIPv4);
    return isIPv4 ? QHostAddress(ipv4).toString() : address.toString();
}

// The path of a request target, decoded; the query (where a token may be)
// is left out.
QString pathOf(const QByteArray &target)
{
    const qsizetype query = target.indexOf('?');
    return QUrl::fromPercentEncoding(query < 0 ? target : target.first(query));
}

RemoteRequest remoteRequest(const HttpRequestParser &request)
{
    RemoteRequest remote;
    remote.method = request.method();
    remote.path = pathOf(request.target());
    if (const qsizetype query = request.target().indexOf('?'); query >= 0) {
        remote.queryToken = QUrlQuery(QString::fromLatin1(request.target().sliced(query + 1)))
                                .queryItemValue(QStringLiteral("token"), QUrl::FullyDecoded);
    }
    remote.host = request.header("host");
    remote.origin = request.header("origin");
    remote.authorization = request.header("authorization");
    remote.contentType = request.header("content-type");
    remote.body = request.body();
    return remote;
}

RemoteReply refusalReply(const RemoteRefusal &refusal)
{
    RemoteReply reply{refusal.status, "application/json; charset=utf-8",
                      QJsonDocument(QJsonObject{{"error", refusal.reason}}).toJson(QJsonDocument::Compact), {}};
    if (refusal.status == 401) {
        reply.headers.append(qMakePair(QByteArray("WWW-Authenticate"), QByteArray("Bearer")));
    }
    return reply;
}

QString errorOf(const RemoteReply &reply)
{
    return QJsonDocument::fromJson(reply.body).object().value(QLatin1String("error")).toString();
}

} // namespace

RemoteServer::RemoteServer(PanelControl &panel, bool loopbackOnly, const QString &token, QObject *parent)
    : QObject(parent)
    , m_api(panel, loopbackOnly, token)
    , m_loopbackOnly(loopbackOnly)
    , m_webSockets(new QWebSocketServer(QStringLiteral("R57"), QWebSocketServer::NonSecureMode, this))
{
    m_changeTimer.setSingleShot(true);
    m_changeTimer.setInterval(0);
    connect(&m_changeTimer, &QTimer::timeout, this, &RemoteServer::broadcast);
    m_pingTimer.setInterval(m_limits.pingInterval);
    connect(&m_pingTimer, &QTimer::timeout, this, &RemoteServer::pingEventClients);
    connect(m_webSockets, &QWebSocketServer::newConnection, this, &RemoteServer::acceptEventClients);
}

RemoteServer::~RemoteServer()
{
    // The WebSocket clients say goodbye while the sockets they use, which
    // the WebSocket server holds, are still there.
    m_clients.clear();
}

void RemoteServer::setLimits(const Limits &limits)
{
    m_limits = limits;
    m_pingTimer.setInterval(limits.pingInterval);
}

bool RemoteServer::start(const RemoteAddress &address, QString *error)
{
    auto listener = std::make_unique<QTcpServer>(this);
    // A burst of connections waits for its turn in the system's queue
    // rather than being turned back for a second or more.
    listener->setListenBacklogSize(m_limits.maxConnections);
    if (!listener->listen(address.host, address.port)) {
        if (error) {
            *error = QStringLiteral("%1 で待ち受けできません: %2").arg(address.text(), listener->errorString());
        }
        return false;
    }
    m_bound = address;
    m_bound.port = listener->serverPort();
    delete m_listener;
    m_listener = listener.release();
    connect(m_listener, &QTcpServer::newConnection, this, &RemoteServer::acceptConnections);
    return true;
}

int RemoteServer::connectionLimit() const
{
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY) {
        return static_cast<int>(std::min<rlim_t>(m_limits.maxConnections, files.rlim_cur / 4));
    }
    return m_limits.maxConnections;
}

int RemoteServer::connectionCount() const
{
    return m_reading
           + static_cast<int>(std::count_if(m_upgraded.begin(), m_upgraded.end(),
                                            [](const QPointer<QTcpSocket> &socket) { return !socket.isNull(); }));
}

std::optional<RemoteRefusal> RemoteServer::connectionRefusal(const QTcpSocket &socket) const
{
    if (connectionCount() >= connectionLimit()) {
        return RemoteRefusal{503, QStringLiteral("接続が多すぎます")};
    }
    if (m_perClient.value(clientOf(socket.peerAddress())) >= m_limits.maxPerClient) {
        return RemoteRefusal{429, QStringLiteral("このアドレスからの接続が多すぎます（%1 まで）").arg(m_limits.maxPerClient)};
    }
    // Every account on this machine can reach the loopback address; without
    // a token, the owner of the connecting socket is what tells them apart.
    if (m_loopbackOnly && LoopbackPeer::ownerUid(socket) != std::optional<uint>(::getuid())) {
        return RemoteRefusal{403, QStringLiteral("この利用者の接続だけを受け付けます")};
    }
    return std::nullopt;
}

void RemoteServer::acceptConnections()
{
    std::erase_if(m_upgraded, [](const QPointer<QTcpSocket> &socket) { return socket.isNull(); });
    while (m_listener->hasPendingConnections()) {
        QTcpSocket *socket = m_listener->nextPendingConnection();
        if (const auto refusal = connectionRefusal(*socket)) {
            logRefusal(socket->peerAddress(), "connection", QString(), refusal->status, refusal->reason);
            // Closed at once: nothing it sends is read.
            HttpConnection::refuseAtOnce(socket, refusalReply(*refusal));
            continue;
        }
        ++m_reading;
        const QByteArray client = clientOf(socket->peerAddress());
        ++m_perClient[client];
        auto *connection = new HttpConnection(socket, *this, m_limits.timeouts, this);
        connect(connection, &HttpConnection::finished, this, [this, connection, client] {
            --m_reading;
            if (--m_perClient[client] <= 0) {
                m_perClient.remove(client);
            }
            connection->deleteLater();
        });
    }
}

std::optional<RemoteRefusal> RemoteServer::eventsRefusal(const HttpRequestParser &request,
                                                         const RemoteRequest &remote) const
{
    if (!request.connectionHas("upgrade")) {
        return RemoteRefusal{400, QStringLiteral("WebSocket には Connection: Upgrade が要ります")};
    }
    if (request.method() != "GET" || request.hasBody()) {
        return RemoteRefusal{400, QStringLiteral("WebSocket は本文のない GET で始めてください")};
    }
    // The WebSocket server closes a handshake without a key or a version
    // unanswered, and takes any key; the key is 16 bytes in base64.
    const QByteArray::FromBase64Result key = QByteArray::fromBase64Encoding(
        request.header("sec-websocket-key"), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!key || (*key).size() != 16 || request.header("sec-websocket-version").isEmpty()) {
        return RemoteRefusal{400, QStringLiteral("WebSocket には Sec-WebSocket-Key（16 バイトの base64）と "
                                                 "Sec-WebSocket-Version が要ります")};
    }
    if (auto refusal = m_api.checkAccess(remote.host, remote.origin, remote.authorization, remote.queryToken)) {
        return refusal;
    }
    if (remote.path != QLatin1String(RemoteApi::EventsPath)) {
        return RemoteRefusal{404, QStringLiteral("WebSocket は %1 だけです").arg(QLatin1String(RemoteApi::EventsPath))};
    }
    if (eventClientCount() >= MaxEventClients) {
        return RemoteRefusal{503, QStringLiteral("接続が多すぎます（%1 まで）").arg(MaxEventClients)};
    }
    return std::nullopt;
}

std::optional<RemoteReply> RemoteServer::headRead(const HttpRequestParser &request, const QHostAddress &peer)
{
    const RemoteRequest remote = remoteRequest(request);
    std::optional<RemoteRefusal> refusal;
    if (request.asksForWebSocket()) {
        refusal = eventsRefusal(request, remote);
    } else if (request.hasBody()) {
        // Who may not send a body is told so before it is read.
        refusal = m_api.checkAccess(remote.host, remote.origin, remote.authorization, remote.queryToken);
    }
    if (!refusal) {
        return std::nullopt;
    }
    logRefusal(peer, request.asksForWebSocket() ? QByteArray("WebSocket") : remote.method, remote.path,
               refusal->status, refusal->reason);
    return refusalReply(*refusal);
}

RemoteReply RemoteServer::requestRead(const HttpRequestParser &request, const QHostAddress &peer)
{
    const RemoteRequest remote = remoteRequest(request);
    const QPointer<RemoteServer> alive(this);
    const RemoteReply reply = m_api.handle(remote);
    if (alive && reply.status >= 400) {
        logRefusal(peer, remote.method, remote.path, reply.status, errorOf(reply));
    }
    return reply;
}

RemoteReply RemoteServer::refused(const QHostAddress &peer, const QByteArray &target, int status,
                                  const QString &reason)
{
    logRefusal(peer, "request", pathOf(target), status, reason);
    return refusalReply({status, reason});
}

void RemoteServer::logRefusal(const QHostAddress &peer, const QByteArray &what, const QString &path, int status,
                              const QString &reason)
{
    // The mistakes of an honest client (a wrong address, a busy panel) are
    // details; whoever is turned away is said.
    static constexpr std::array<int, 6> Details = {404, 405, 409, 415, 422, 426};
    const bool notable = std::find(Details.begin(), Details.end(), status) == Details.end();
    const QString shownPath = path.isEmpty() ? QStringLiteral("-") : path;
    m_refusals.refused(clientOf(peer),
                       QStringLiteral("%1 %2 %3 %4 %5")
                           .arg(addressText(peer), QString::fromLatin1(what), shownPath)
                           .arg(status)
                           .arg(reason),
                       notable);
}

void RemoteServer::upgrade(QTcpSocket *socket)
{
    // A frame up to the largest message fits while it is read.
    socket->setReadBufferSize(2 * MaxClientMessage);
    socket->setParent(m_webSockets);
    m_upgraded.emplace_back(socket);
    m_webSockets->handleConnection(socket);
}

void RemoteServer::acceptEventClients()
{
    while (m_webSockets->hasPendingConnections()) {
        std::unique_ptr<QWebSocket> socket(m_webSockets->nextPendingConnection());
        if (!socket) {
            continue;
        }
        if (eventClientCount() >= MaxEventClients) {
            // Upgrades that were under way together went past the limit.
            socket->abort();
            socket.release()->deleteLater();
            continue;
        }
        QWebSocket *raw = socket.get();
        raw->setMaxAllowedIncomingFrameSize(MaxClientMessage);
        raw->setMaxAllowedIncomingMessageSize(MaxClientMessage);
        connect(raw, &QWebSocket::disconnected, this, [this, raw] { dropEventClient(raw, nullptr); });
        connect(raw, &QWebSocket::pong, this, [this, raw] {
            for (EventClient &client : m_clients) {
                if (client.socket.get() == raw) {
                    client.pinged = false;
                }
            }
        });
        // Clients only listen; anything they send is dropped.
        raw->sendTextMessage(QString::fromUtf8(m_api.stateJson()));
        m_clients.push_back({std::move(socket), false});
        if (!m_pingTimer.isActive()) {
            m_pingTimer.start();
        }
    }
}

void RemoteServer::dropEventClient(QWebSocket *socket, const char *why)
{
    const auto found = std::find_if(m_clients.begin(), m_clients.end(),
                                    [socket](const EventClient &client) { return client.socket.get() == socket; });
    if (found == m_clients.end()) {
        return;
    }
    static_cast<void>(found->socket.release());
    m_clients.erase(found);
    socket->disconnect(this);
    if (why) {
        m_refusals.refused(clientOf(socket->peerAddress()),
                           QStringLiteral("%1 WebSocket %2 dropped: %3")
                               .arg(addressText(socket->peerAddress()), QLatin1String(RemoteApi::EventsPath),
                                    QLatin1String(why)),
                           true);
    }
    socket->abort();
    socket->deleteLater();
    if (m_clients.empty()) {
        m_pingTimer.stop();
    }
}

void RemoteServer::pingEventClients()
{
    std::vector<QWebSocket *> silent;
    for (EventClient &client : m_clients) {
        if (client.pinged) {
            silent.push_back(client.socket.get());
        } else {
            client.pinged = true;
            client.socket->ping();
        }
    }
    for (QWebSocket *socket : silent) {
        dropEventClient(socket, "it did not answer a ping");
    }
}

void RemoteServer::panelChanged()
{
    if (!m_changeTimer.isActive()) {
        m_changeTimer.start();
    }
}

void RemoteServer::broadcast()
{
    if (m_clients.empty()) {
        m_lastSent.clear();
        return;
    }
    const QByteArray state = m_api.stateJson();
    if (state == m_lastSent) {
        return;
    }
    m_lastSent = state;
    const QString message = QString::fromUtf8(state);
    // A client dropped on the way is only taken out of the list, so the
    // sockets stay valid to the end of the loop.
    std::vector<QWebSocket *> sockets;
    for (const EventClient &client : m_clients) {
        sockets.push_back(client.socket.get());
    }
    for (QWebSocket *socket : sockets) {
        socket->sendTextMessage(message);
        if (socket->bytesToWrite() > m_limits.maxUnsent) {
            dropEventClient(socket, "it did not take the states sent to it");
        }
    }
}
