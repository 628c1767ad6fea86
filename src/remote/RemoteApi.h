#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

class PanelControl;

// One HTTP request as the remote interface reads it.
struct RemoteRequest
{
    QByteArray method;
    QString path;
    // The "token" of the query string.
    QString queryToken;
    QByteArray host;
    QByteArray origin;
    QByteArray authorization;
    QByteArray contentType;
    QByteArray body;
};

// The answer to it.
struct RemoteReply
{
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
};

// A request refused before it reaches a route: the status and why.
struct RemoteRefusal
{
    int status;
    QString reason;
};

// The remote interface without the network: who may ask (the host and
// origin rules, the token), what may be asked (fixed routes, JSON commands)
// and the answers, with the control panel behind it. Nothing a request
// carries names a file: the pages are built into the program.
class RemoteApi
{
public:
    static constexpr qsizetype MaxBody = 64 * 1024;
    static constexpr const char *EventsPath = "/api/events";

    // `loopbackOnly`: it listens on this machine only, so a request must
    // name this machine as its host (a page that renamed itself to this
    // machine cannot reach it). `token`: what every request must carry;
    // empty for none.
    RemoteApi(PanelControl &panel, bool loopbackOnly, const QString &token);

    RemoteReply handle(const RemoteRequest &request);

    // Whether a request from `host` and `origin` with these credentials may
    // be served at all; nothing when it may.
    std::optional<RemoteRefusal> checkAccess(const QByteArray &host, const QByteArray &origin,
                                             const QByteArray &authorization, const QString &queryToken) const;

    // The same for one request, judged on what comes before its body: the
    // built-in pages and their scripts hold no secret and are fetched (GET)
    // without the token, so a page opened without it can say what is
    // missing; everything else needs it.
    std::optional<RemoteRefusal> checkAccess(const RemoteRequest &request) const;

    // The panel's state as the JSON document the interface sends.
    QByteArray stateJson() const;

private:
    RemoteReply command(const QString &path, const QByteArray &body);
    std::optional<RemoteRefusal> siteRefusal(const QByteArray &host, const QByteArray &origin) const;
    bool tokenMatches(const QByteArray &given) const;

    PanelControl &m_panel;
    bool m_loopbackOnly;
    QByteArray m_token;
};
