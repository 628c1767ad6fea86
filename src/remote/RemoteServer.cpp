#include "RemoteServer.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QTcpServer>
#include <QWebSocket>

namespace {

Q_LOGGING_CATEGORY(remoteLog, "tavelo.remote")

QByteArray methodName(QHttpServerRequest::Method method)
{
    switch (method) {
    case QHttpServerRequest::Method::Get: return "GET";
    case QHttpServerRequest::Method::Put: return "PUT";
    case QHttpServerRequest::Method::Delete: return "DELETE";
    case QHttpServerRequest::Method::Post: return "POST";
    case QHttpServerRequest::Method::Head: return "HEAD";
    case QHttpServerRequest::Method::Options: return "OPTIONS";
    case QHttpServerRequest::Method::Patch: return "PATCH";
    case QHttpServerRequest::Method::Connect: return "CONNECT";
    case QHttpServerRequest::Method::Trace: return "TRACE";
    default: return "UNKNOWN";
    }
}

} // namespace

RemoteServer::RemoteServer(PanelControl &panel, bool loopbackOnly, const QString &token, QObject *parent)
    : QAbstractHttpServer(parent)
    , m_api(panel, loopbackOnly, token)
{
    m_changeTimer.setSingleShot(true);
    m_changeTimer.setInterval(0);
    connect(&m_changeTimer, &QTimer::timeout, this, &RemoteServer::broadcast);
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this, &RemoteServer::acceptEventClients);
}

RemoteServer::~RemoteServer() = default;

bool RemoteServer::start(const RemoteAddress &address, QString *error)
{
    auto server = std::make_unique<QTcpServer>(this);
    if (!server->listen(address.host, address.port)) {
        if (error) {
            *error = QStringLiteral("%1 で待ち受けできません: %2").arg(address.text(), server->errorString());
        }
        return false;
    }
    m_bound = address;
    m_bound.port = server->serverPort();
    bind(server.release());
    return true;
}

namespace {

RemoteRequest remoteRequest(const QHttpServerRequest &request)
{
    RemoteRequest remote;
    remote.method = methodName(request.method());
    remote.path = request.url().path();
    remote.queryToken = request.query().queryItemValue(QStringLiteral("token"), QUrl::FullyDecoded);
    remote.host = request.value("host");
    remote.origin = request.value("origin");
    remote.authorization = request.value("authorization");
    remote.contentType = request.value("content-type");
    remote.body = request.body();
    return remote;
}

bool isWebSocketUpgrade(const QHttpServerRequest &request)
{
    return request.value("upgrade").compare("websocket", Qt::CaseInsensitive) == 0;
}

void write(const RemoteReply &reply, QHttpServerResponder &&responder)
{
    QHttpServerResponse response(reply.contentType, reply.body,
                                 static_cast<QHttpServerResponder::StatusCode>(reply.status));
    for (const auto &[name, value] : reply.headers) {
        response.addHeader(name, value);
    }
    response.write(std::move(responder));
}

RemoteReply refusalReply(const RemoteRefusal &refusal)
{
    return {refusal.status, "application/json; charset=utf-8",
            QJsonDocument(QJsonObject{{"error", refusal.reason}}).toJson(QJsonDocument::Compact), {}};
}

} // namespace

std::optional<RemoteRefusal> RemoteServer::eventsRefusal(const RemoteRequest &request) const
{
    if (auto refusal = m_api.checkAccess(request.host, request.origin, request.authorization, request.queryToken)) {
        return refusal;
    }
    if (request.path != QLatin1String(RemoteApi::EventsPath)) {
        return RemoteRefusal{404, QStringLiteral("WebSocket は %1 だけです").arg(QLatin1String(RemoteApi::EventsPath))};
    }
    if (eventClientCount() >= MaxEventClients) {
        return RemoteRefusal{503, QStringLiteral("接続が多すぎます（%1 まで）").arg(MaxEventClients)};
    }
    return std::nullopt;
}

bool RemoteServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const RemoteRequest remote = remoteRequest(request);
    if (isWebSocketUpgrade(request)) {
        // True hands the connection to the WebSocket server; a refusal is
        // answered in missingHandler, before any upgrade.
        return !eventsRefusal(remote);
    }
    const RemoteReply reply = m_api.handle(remote);
    write(reply, makeResponder(request, socket));
    // The asker reads the reason in the answer; the log keeps the refusals
    // that say someone was turned away (token, origin, host name).
    if (reply.status == 401 || reply.status == 403) {
        qCInfo(remoteLog).noquote() << remote.method << remote.path << reply.status << reply.body;
    } else if (reply.status >= 400) {
        qCDebug(remoteLog).noquote() << remote.method << remote.path << reply.status << reply.body;
    }
    return true;
}

void RemoteServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    // Only a refused WebSocket comes here: handleRequest answers the rest.
    const RemoteRequest remote = remoteRequest(request);
    const RemoteRefusal refusal
        = eventsRefusal(remote).value_or(RemoteRefusal{404, QStringLiteral("そのアドレスはありません")});
    qCInfo(remoteLog).noquote() << "WebSocket" << remote.path << refusal.status << refusal.reason;
    write(refusalReply(refusal), makeResponder(request, socket));
}

void RemoteServer::acceptEventClients()
{
    while (hasPendingWebSocketConnections()) {
        std::unique_ptr<QWebSocket> client = nextPendingWebSocketConnection();
        if (!client) {
            continue;
        }
        QWebSocket *socket = client.get();
        connect(socket, &QWebSocket::disconnected, this, [this, socket] {
            for (auto it = m_clients.begin(); it != m_clients.end(); ++it) {
                if (it->get() == socket) {
                    it->release()->deleteLater();
                    m_clients.erase(it);
                    break;
                }
            }
        });
        // Clients only listen; anything they send is dropped.
        socket->sendTextMessage(QString::fromUtf8(m_api.stateJson()));
        m_clients.push_back(std::move(client));
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
    for (const auto &client : m_clients) {
        client->sendTextMessage(message);
    }
}
