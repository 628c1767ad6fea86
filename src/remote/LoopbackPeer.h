#pragma once

#include <QtGlobal>

#include <optional>

class QTcpSocket;

// Which local account owns the other end of a loopback TCP connection.
class LoopbackPeer
{
public:
    // The uid that owns the peer end of `socket`, a connected TCP socket
    // whose peer is on this machine; nothing when it cannot be told.
    static std::optional<uint> ownerUid(const QTcpSocket &socket);
};
