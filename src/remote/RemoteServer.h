#pragma once

#include "HttpConnection.h"
#include "RefusalLog.h"
#include "RemoteAddress.h"
#include "RemoteApi.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <memory>
#include <vector>

class QTcpServer;
class QTcpSocket;
class QWebSocket;
class QWebSocketServer;

// The remote interface on the network: HTTP requests go to RemoteApi, and
// WebSocket clients of /api/events get the panel's state when they connect
// and after every change; a WebSocket that may not connect is refused with
// its HTTP status before the upgrade. Whatever a client sends, the server
// keeps little of it and not for long (see Limits), and it never takes more
// than a part of the process's file handles, which the display needs for
// its own files. Lives on the window thread with the panel.
class RemoteServer : public QObject, private HttpConnection::Handler
{
    Q_OBJECT

public:
    // Board mirrors and scripts together: a client beyond this is closed.
    static constexpr int MaxEventClients = 64;
    // A message a WebSocket client may send (it is dropped unread anyway).
    static constexpr qint64 MaxClientMessage = 64 * 1024;

    // How far clients may go. The defaults suit a network; tests shorten them.
    struct Limits
    {
        // Open connections, WebSockets included; never more than a quarter
        // of the process's file handles.
        int maxConnections = 256;
        // Connections still sending requests from one client: one address,
        // or one /64 network for IPv6.
        int maxPerClient = 32;
        HttpConnection::Timeouts timeouts;
        // A WebSocket client is pinged this often and dropped when it has
        // not answered the ping before.
        std::chrono::milliseconds pingInterval{30'000};
        // What a WebSocket client may leave untaken of the states sent to
        // it; beyond it, it is dropped, and gets the state anew when it
        // connects again.
        qint64 maxUnsent = 256 * 1024;
    };

    RemoteServer(PanelControl &panel, bool loopbackOnly, const QString &token, QObject *parent = nullptr);
    ~RemoteServer() override;

    // For the connections that come from now on.
    void setLimits(const Limits &limits);

    // Listens on `address`; false with the reason in `error`. The port that
    // was bound (also for port 0) is in boundAddress().
    bool start(const RemoteAddress &address, QString *error = nullptr);
    RemoteAddress boundAddress() const { return m_bound; }

    int eventClientCount() const { return static_cast<int>(m_clients.size()); }
    // Sockets open now, WebSockets included.
    int connectionCount() const;

public slots:
    // Something on the panel may have changed: the clients hear of it once
    // the current operation lets the event loop run, and only if the state
    // differs from what they were last sent.
    void panelChanged();

private:
    struct EventClient
    {
        std::unique_ptr<QWebSocket> socket;
        bool pinged = false;
    };

    std::optional<RemoteReply> headRead(const HttpRequestParser &request, const QHostAddress &peer) override;
    RemoteReply requestRead(const HttpRequestParser &request, const QHostAddress &peer) override;
    void upgrade(QTcpSocket *socket) override;
    RemoteReply refused(const QHostAddress &peer, const QByteArray &target, int status,
                        const QString &reason) override;

    void acceptConnections();
    std::optional<RemoteRefusal> connectionRefusal(const QTcpSocket &socket) const;
    int connectionLimit() const;
    // Why a WebSocket may not connect: the request, the access rules, the
    // path, the number of clients; nothing when it may.
    std::optional<RemoteRefusal> eventsRefusal(const HttpRequestParser &request, const RemoteRequest &remote) const;
    void acceptEventClients();
    void pingEventClients();
    void dropEventClient(QWebSocket *socket, const char *why);
    void broadcast();
    void logRefusal(const QHostAddress &peer, const QByteArray &what, const QString &path, int status,
                    const QString &reason);

    RemoteApi m_api;
    // Without a token, only this user's own connections are let in.
    bool m_loopbackOnly;
    Limits m_limits;
    RemoteAddress m_bound;
    QTcpServer *m_listener = nullptr;
    QWebSocketServer *m_webSockets = nullptr;
    // Connections reading requests, and the sockets handed on to WebSockets
    // (until they are gone).
    int m_reading = 0;
    std::vector<QPointer<QTcpSocket>> m_upgraded;
    QHash<QByteArray, int> m_perClient;
    RefusalLog m_refusals;
    std::vector<EventClient> m_clients;
    QByteArray m_lastSent;
    QTimer m_changeTimer;
    QTimer m_pingTimer;
};
