#include "LoopbackPeer.h"

#include <QFile>
#include <QHostAddress>
#include <QTcpSocket>
#include <QtEndian>

#include <array>
#include <charconv>
#include <cstring>
#include <utility>

namespace {

// The kernel's tables of this network namespace's TCP sockets, one line to a
// socket: "sl local rem st tx:rx tr:when retrnsmt uid timeout inode ...",
// addresses as hexadecimal words in the machine's byte order, ports in hex.
constexpr const char *Tables[] = {"/proc/net/tcp", "/proc/net/tcp6"};
// A line is about 150 bytes (IPv6 about 180); a longer one is not the table's.
constexpr qint64 MaxLineBytes = 512;
// About 400,000 sockets. A host with more is not searched to the end: the
// owner is then not told, and the connection is refused rather than let in.
constexpr qint64 MaxTableBytes = 64 * 1024 * 1024;

// The column of the socket's state, and the states whose line names no owner
// or cannot be a connection's end.
constexpr int StateColumn = 3;
constexpr int UidColumn = 7;
constexpr unsigned TimeWait = 0x06;
constexpr unsigned Listen = 0x0A;

// An address and port, IPv4 written in its IPv4-mapped IPv6 form, so that a
// socket of either family compares with one of the other.
struct Endpoint
{
    std::array<quint8, 16> address{};
    quint16 port = 0;

    bool operator==(const Endpoint &) const = default;
};

Endpoint mappedIPv4(quint32 address, quint16 port)
{
    Endpoint endpoint;
    endpoint.address[10] = 0xff;
    endpoint.address[11] = 0xff;
    qToBigEndian(address, endpoint.address.data() + 12);
    endpoint.port = port;
    return endpoint;
}

std::optional<Endpoint> endpointOf(const QHostAddress &address, quint16 port)
{
    bool isIPv4 = false;
    // Also the IPv4 address inside an IPv4-mapped one.
    const quint32 ipv4 = address.toIPv4Address(&isIPv4);
    if (isIPv4) {
        return mappedIPv4(ipv4, port);
    }
    if (address.protocol() != QAbstractSocket::IPv6Protocol) {
        return std::nullopt;
    }
    Endpoint endpoint;
    const Q_IPV6ADDR ipv6 = address.toIPv6Address();
    std::memcpy(endpoint.address.data(), ipv6.c, endpoint.address.size());
    endpoint.port = port;
    return endpoint;
}

template<typename Number>
bool parseNumber(QByteArrayView text, int base, Number *value)
{
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, *value, base);
    return !text.isEmpty() && error == std::errc() && stop == end;
}

// "0100007F:1F90" or thirty-two hex digits and a port.
std::optional<Endpoint> parseEndpoint(QByteArrayView text)
{
    const qsizetype colon = text.indexOf(':');
    if (colon < 0) {
        return std::nullopt;
    }
    const QByteArrayView hex = text.first(colon);
    quint16 port = 0;
    if (!parseNumber(text.sliced(colon + 1), 16, &port) || (hex.size() != 8 && hex.size() != 32)) {
        return std::nullopt;
    }
    // Each word is the address's next four bytes as the kernel holds them,
    // printed as a number of this machine's byte order: copied back as it is
    // held, it gives the bytes in their order again.
    std::array<quint8, 16> bytes{};
    for (qsizetype i = 0; i < hex.size() / 8; ++i) {
        quint32 word = 0;
        if (!parseNumber(hex.sliced(i * 8, 8), 16, &word)) {
            return std::nullopt;
        }
        std::memcpy(bytes.data() + i * 4, &word, sizeof word);
    }
    if (hex.size() == 8) {
        return mappedIPv4(qFromBigEndian<quint32>(bytes.data()), port);
    }
    return Endpoint{bytes, port};
}

struct Search
{
    // The peer's socket: its own address and the one it is connected to.
    Endpoint local;
    Endpoint remote;
    std::optional<uint> owner;
    // Two sockets of different owners matched, or a table could not be read
    // through: the owner cannot be told.
    bool undecided = false;
    qint64 bytesRead = 0;
};

void searchTable(const char *path, Search &search)
{
    QFile table(QString::fromLatin1(path));
    if (!table.open(QIODevice::ReadOnly | QIODevice::Text)) {
        // Without IPv6 there is no tcp6 table; a missing one holds no socket.
        search.undecided = search.undecided || table.exists();
        return;
    }
    // Past the heading; the files of /proc tell no size, so no atEnd().
    bool heading = true;
    while (!search.undecided) {
        const QByteArray line = table.readLine(MaxLineBytes + 1);
        if (line.isEmpty()) {
            return;
        }
        search.bytesRead += line.size();
        if (line.size() > MaxLineBytes || search.bytesRead > MaxTableBytes) {
            search.undecided = true;
            return;
        }
        if (std::exchange(heading, false)) {
            continue;
        }
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() <= UidColumn) {
            continue;
        }
        const std::optional<Endpoint> local = parseEndpoint(fields.at(1));
        const std::optional<Endpoint> remote = parseEndpoint(fields.at(2));
        unsigned state = 0;
        uint uid = 0;
        if (!local || !remote || *local != search.local || *remote != search.remote
            || !parseNumber(fields.at(StateColumn), 16, &state) || state == TimeWait || state == Listen
            || !parseNumber(fields.at(UidColumn), 10, &uid)) {
            continue;
        }
        if (search.owner && *search.owner != uid) {
            search.undecided = true;
            return;
        }
        search.owner = uid;
    }
}

} // namespace

std::optional<uint> LoopbackPeer::ownerUid(const QTcpSocket &socket)
{
    if (socket.state() != QAbstractSocket::ConnectedState) {
        return std::nullopt;
    }
    // The peer's socket has our peer's address as its own and ours as its
    // remote one.
    const std::optional<Endpoint> peer = endpointOf(socket.peerAddress(), socket.peerPort());
    const std::optional<Endpoint> ours = endpointOf(socket.localAddress(), socket.localPort());
    if (!peer || !ours) {
        return std::nullopt;
    }
    Search search{*peer, *ours, std::nullopt, false, 0};
    for (const char *table : Tables) {
        searchTable(table, search);
    }
    if (search.undecided) {
        return std::nullopt;
    }
    return search.owner;
}
