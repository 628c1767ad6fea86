#include "RemoteAddress.h"

std::optional<RemoteAddress> RemoteAddress::parse(const QString &text, QString *error)
{
    const auto fail = [&](const QString &why) -> std::optional<RemoteAddress> {
        if (error) {
            *error = QStringLiteral("アドレス「%1」: %2").arg(text, why);
        }
        return std::nullopt;
    };
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon < 0) {
        return fail(QStringLiteral("ホスト:ポート の形で指定してください（例 127.0.0.1:8157）"));
    }
    QString hostText = text.left(colon);
    if (hostText.startsWith(QLatin1Char('[')) && hostText.endsWith(QLatin1Char(']'))) {
        hostText = hostText.mid(1, hostText.size() - 2);
    }
    bool portOk = false;
    const uint port = text.mid(colon + 1).toUInt(&portOk);
    if (!portOk || port > 65535) {
        return fail(QStringLiteral("ポートは 0～65535 の数です"));
    }
    RemoteAddress address;
    address.port = static_cast<quint16>(port);
    if (hostText.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
        address.host = QHostAddress(QHostAddress::LocalHost);
    } else if (!address.host.setAddress(hostText)) {
        return fail(QStringLiteral("ホストは IP アドレスか localhost です"));
    }
    return address;
}

QString RemoteAddress::text() const
{
    const QString hostText = host.protocol() == QAbstractSocket::IPv6Protocol
        ? QStringLiteral("[%1]").arg(host.toString())
        : host.toString();
    return QStringLiteral("%1:%2").arg(hostText).arg(port);
}

QString RemoteAddress::url(const QString &token) const
{
    QString url = QStringLiteral("http://%1/").arg(text());
    if (!token.isEmpty()) {
        url += QStringLiteral("?token=") + token;
    }
    return url;
}
