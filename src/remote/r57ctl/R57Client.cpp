#include "R57Client.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QTimer>
#include <QUrlQuery>
#include <QWebSocket>

R57Client::R57Client(const QUrl &base, const QString &token)
    : m_base(base)
    , m_token(token.isEmpty() ? QUrlQuery(base).queryItemValue(QStringLiteral("token"), QUrl::FullyDecoded) : token)
{
    m_network.setTransferTimeout(TimeoutMs);
}

QUrl R57Client::url(const QString &path, const QString &scheme) const
{
    QUrl url = m_base;
    url.setQuery(QString());
    url.setFragment(QString());
    url.setPath(path);
    if (!scheme.isEmpty()) {
        url.setScheme(scheme);
    }
    return url;
}

R57Client::Reply R57Client::wait(QNetworkReply *reply)
{
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        loop.exec();
    }
    Reply result;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    result.answered = status.isValid();
    result.status = status.toInt();
    result.body = reply->readAll();
    if (!result.answered) {
        result.error = reply->error() == QNetworkReply::OperationCanceledError
            ? QStringLiteral("%1 ミリ秒待っても応答がありません").arg(TimeoutMs)
            : reply->errorString();
    }
    reply->deleteLater();
    return result;
}

R57Client::Reply R57Client::get(const QString &path)
{
    QNetworkRequest request(url(path));
    if (!m_token.isEmpty()) {
        request.setRawHeader("Authorization", "Bearer " + m_token.toUtf8());
    }
    return wait(m_network.get(request));
}

R57Client::Reply R57Client::post(const QString &path, const QJsonObject &arguments)
{
    QNetworkRequest request(url(path));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    if (!m_token.isEmpty()) {
        request.setRawHeader("Authorization", "Bearer " + m_token.toUtf8());
    }
    return wait(m_network.post(request, QJsonDocument(arguments).toJson(QJsonDocument::Compact)));
}

int R57Client::watch(const std::function<void(const QByteArray &)> &onState, QString *error)
{
    // A plain request first: it tells a refusal (with its reason) from no
    // program at all, which a failed handshake does not.
    const Reply first = get(QStringLiteral("/api/state"));
    if (!first.answered) {
        *error = first.error;
        return 3;
    }
    if (first.status != 200) {
        *error = QJsonDocument::fromJson(first.body).object().value(QLatin1String("error")).toString();
        return 1;
    }
    QWebSocket socket;
    QNetworkRequest request(url(QStringLiteral("/api/events"), m_base.scheme() == QLatin1String("https")
                                                                    ? QStringLiteral("wss")
                                                                    : QStringLiteral("ws")));
    if (!m_token.isEmpty()) {
        request.setRawHeader("Authorization", "Bearer " + m_token.toUtf8());
    }
    bool connected = false;
    QEventLoop loop;
    QObject::connect(&socket, &QWebSocket::connected, &loop, [&connected] { connected = true; });
    QObject::connect(&socket, &QWebSocket::textMessageReceived, &loop,
                     [&onState](const QString &message) { onState(message.toUtf8()); });
    QObject::connect(&socket, &QWebSocket::disconnected, &loop, &QEventLoop::quit);
    QObject::connect(&socket, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), &loop, [&] {
        if (!connected) {
            loop.quit();
        }
    });
    socket.open(request);
    loop.exec();
    if (!connected) {
        *error = socket.errorString();
        return 3;
    }
    return 0;
}
