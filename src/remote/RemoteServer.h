#pragma once

#include "RemoteAddress.h"
#include "RemoteApi.h"

#include <QAbstractHttpServer>
#include <QTimer>

#include <memory>
#include <vector>

class QWebSocket;

// The remote interface on the network: HTTP requests go to RemoteApi, and
// WebSocket clients of /api/events get the panel's state when they connect
// and after every change; a WebSocket that may not connect is refused with
// its HTTP status before the upgrade. Lives on the window thread with the panel.
class RemoteServer : public QAbstractHttpServer
{
    Q_OBJECT

public:
    // Board mirrors and scripts together: a client beyond this is closed.
    static constexpr int MaxEventClients = 64;

    RemoteServer(PanelControl &panel, bool loopbackOnly, const QString &token, QObject *parent = nullptr);
    ~RemoteServer() override;

    // Listens on `address`; false with the reason in `error`. The port that
    // was bound (also for port 0) is in boundAddress().
    bool start(const RemoteAddress &address, QString *error = nullptr);
    RemoteAddress boundAddress() const { return m_bound; }

    int eventClientCount() const { return static_cast<int>(m_clients.size()); }

public slots:
    // Something on the panel may have changed: the clients hear of it once
    // the current operation lets the event loop run, and only if the state
    // differs from what they were last sent.
    void panelChanged();

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    // Why a WebSocket may not connect: the access rules, the path, the
    // number of clients; nothing when it may.
    std::optional<RemoteRefusal> eventsRefusal(const RemoteRequest &request) const;
    void acceptEventClients();
    void broadcast();

    RemoteApi m_api;
    RemoteAddress m_bound;
    std::vector<std::unique_ptr<QWebSocket>> m_clients;
    QByteArray m_lastSent;
    QTimer m_changeTimer;
};
