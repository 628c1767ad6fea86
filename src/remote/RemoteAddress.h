#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

#include <optional>

// Where the remote interface listens: a host address and a port, written
// HOST:PORT ("127.0.0.1:8157", "0.0.0.0:8157", "[::1]:8157").
struct RemoteAddress
{
    static constexpr quint16 DefaultPort = 8157;

    QHostAddress host{QHostAddress::LocalHost};
    quint16 port = DefaultPort;

    // Reads HOST:PORT; HOST is an IP address or "localhost", PORT 0..65535
    // (0: any free port). Nothing, with the reason in `error`, otherwise.
    static std::optional<RemoteAddress> parse(const QString &text, QString *error = nullptr);

    // Only this machine can reach it: no token is needed.
    bool isLoopback() const { return host.isLoopback(); }
    // "127.0.0.1:8157", "[::1]:8157".
    QString text() const;
    // "http://127.0.0.1:8157/", with "?token=..." when a token is given.
    QString url(const QString &token = QString()) const;
};
