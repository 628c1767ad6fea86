#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>

#include <functional>

// r57ctl's side of the remote interface: one request at a time, waited for.
class R57Client
{
public:
    // How long a request may take: route setting holds the answer for its
    // lamp test, a few seconds.
    static constexpr int TimeoutMs = 30000;

    struct Reply
    {
        // False: no program answered (nothing listening, no such host, no
        // answer in time); `error` says which.
        bool answered = false;
        int status = 0;
        QByteArray body;
        QString error;
    };

    // `base`: "http://127.0.0.1:8157/", perhaps with "?token=..."; `token`
    // overrides the address's.
    R57Client(const QUrl &base, const QString &token);

    Reply get(const QString &path);
    Reply post(const QString &path, const QJsonObject &arguments);

    // Follows /api/events, handing every state to `onState`, until the
    // program closes the connection. Returns the exit code: 0 when the
    // program ended it, 1 when it refused, 3 when none could be reached.
    int watch(const std::function<void(const QByteArray &)> &onState, QString *error);

private:
    QUrl url(const QString &path, const QString &scheme = QString()) const;
    Reply wait(class QNetworkReply *reply);

    QUrl m_base;
    QString m_token;
    QNetworkAccessManager m_network;
};
