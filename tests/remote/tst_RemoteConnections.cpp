#include "RemoteFixture.h"

#include <QCheckBox>
#include <QProcess>
#include <QStandardPaths>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>

#include <unistd.h>

namespace {

// A client that sends the bytes it is given, as no well-behaved one would.
class RawClient
{
public:
    explicit RawClient(quint16 port, const QHostAddress &from = QHostAddress(), bool reads = true)
    {
        if (!from.isNull()) {
            socket.bind(from);
        }
        if (reads) {
            QObject::connect(&socket, &QTcpSocket::readyRead, [this] { received += socket.readAll(); });
        } else {
            socket.setReadBufferSize(1024);
        }
        QObject::connect(&socket, &QTcpSocket::disconnected, [this] { closed = true; });
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.waitForConnected(5000);
    }

    // Sends `head`, then `piece` again and again, until the server answers
    // or closes, or `limit` bytes have gone; how many went.
    qint64 stream(const QByteArray &head, const QByteArray &piece, qint64 limit)
    {
        socket.write(head);
        qint64 sent = head.size();
        QDeadlineTimer deadline(20000);
        while (!answered() && !closed && sent < limit && !deadline.hasExpired()) {
            if (socket.bytesToWrite() < 4 * piece.size()) {
                socket.write(piece);
                sent += piece.size();
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return sent;
    }

    bool answered() const { return received.contains("\r\n\r\n"); }
    int status() const { return received.startsWith("HTTP/1.1 ") ? received.mid(9, 3).toInt() : 0; }
    bool waitClosed(int ms = 5000) { return QTest::qWaitFor([this] { return closed; }, ms); }
    // Sends the request that opens a WebSocket on `path`.
    void upgrade(const QByteArray &path, quint16 port)
    {
        socket.write("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port)
                     + "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                       "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
    }

    QTcpSocket socket;
    QByteArray received;
    bool closed = false;
};

QStringList *capturedLog = nullptr;

void captureRemoteLog(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (capturedLog && QByteArrayView(context.category) == "tavelo.remote") {
        capturedLog->append(message);
    }
}

} // namespace

// What the remote interface does with clients that are not what they should
// be: too large, too slow, too many, not listening. Each is refused before it
// costs more than a bounded bit of memory, time or file handles.
class tst_RemoteConnections : public QObject
{
    Q_OBJECT

private slots:
    void refusedRightAfterTheHead()
    {
        RemoteFixture f;
        const quint16 port = f.server.boundAddress().port;
        const QByteArray host = "Host: 127.0.0.1:" + QByteArray::number(port) + "\r\n";
        constexpr qint64 Limit = 64 * 1024 * 1024;

        RawClient longHeader(port);
        qint64 sent = longHeader.stream("GET /api/state HTTP/1.1\r\n" + host + "X-Long: ", QByteArray(64 * 1024, 'a'),
                                        Limit);
        QCOMPARE(longHeader.status(), 431);
        QVERIFY2(sent < 4 * 1024 * 1024, QByteArray::number(sent));
        QVERIFY(longHeader.waitClosed());

        RawClient largeBody(port);
        sent = largeBody.stream("POST /api/step HTTP/1.1\r\n" + host
                                    + "Content-Type: application/json\r\nContent-Length: 1000000000\r\n\r\n",
                                QByteArray(64 * 1024, ' '), Limit);
        QCOMPARE(largeBody.status(), 413);
        QVERIFY2(sent < 4 * 1024 * 1024, QByteArray::number(sent));
        QVERIFY(largeBody.waitClosed());

        // Chunks are counted as they come.
        RawClient chunks(port);
        sent = chunks.stream("POST /api/step HTTP/1.1\r\n" + host
                                 + "Content-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n",
                             "1000\r\n" + QByteArray(0x1000, ' ') + "\r\n", Limit);
        QCOMPARE(chunks.status(), 413);
        QVERIFY2(sent < 4 * 1024 * 1024, QByteArray::number(sent));
        QVERIFY(chunks.waitClosed());

        // Two ways to tell a body's end, two lengths, or a line that another
        // reader would end elsewhere could be read as two requests.
        for (const QByteArray &framing : {QByteArray("Content-Length: 5\r\nTransfer-Encoding: chunked\r\n"),
                                          QByteArray("X-Line-End: LF\n"),
                                          QByteArray("Content-Length: 5\r\nContent-Length: 50\r\n"),
                                          QByteArray("Content-Length: -5\r\n"),
                                          QByteArray("Content-Length : 5\r\n")}) {
            RawClient client(port);
            client.socket.write("POST /api/state HTTP/1.1\r\n" + host + framing + "\r\n0\r\n\r\n");
            QVERIFY(client.waitClosed());
            QVERIFY2(client.status() == 400, client.received + " for " + framing);
        }

        // In token mode the token is asked for before the body is read.
        RemoteFixture tokenMode(false, QStringLiteral("0123456789abcdef0123456789abcdef"));
        RawClient noToken(tokenMode.server.boundAddress().port);
        sent = noToken.stream("POST /api/step HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
                              "Content-Length: 1000000000\r\n\r\n",
                              QByteArray(64 * 1024, ' '), Limit);
        QCOMPARE(noToken.status(), 401);
        QVERIFY2(sent < 4 * 1024 * 1024, QByteArray::number(sent));
        QVERIFY(noToken.waitClosed());
    }

    void slowAndSilentConnectionsAreClosed()
    {
        RemoteFixture f;
        RemoteServer::Limits limits;
        limits.timeouts.request = std::chrono::milliseconds(300);
        limits.timeouts.idle = std::chrono::milliseconds(600);
        f.server.setLimits(limits);
        const quint16 port = f.server.boundAddress().port;

        RawClient silent(port);
        RawClient slow(port);
        slow.socket.write("GET /api/state HTTP/1.1\r\nHost: 127.0.0.1\r\n");
        RawClient idle(port);
        idle.socket.write("GET /api/state HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
        QTRY_COMPARE(idle.status(), 200);
        QVERIFY(!idle.closed);

        QVERIFY(silent.waitClosed());
        QVERIFY(silent.received.isEmpty());
        QVERIFY(slow.waitClosed());
        QCOMPARE(slow.status(), 408);
        QVERIFY(idle.waitClosed());
        QTRY_COMPARE(f.server.connectionCount(), 0);
    }

    void connectionsAreCappedPerClientAndInAll()
    {
        RemoteFixture f;
        RemoteServer::Limits limits;
        limits.maxPerClient = 4;
        limits.maxConnections = 6;
        f.server.setLimits(limits);
        const quint16 port = f.server.boundAddress().port;

        std::vector<std::unique_ptr<RawClient>> held;
        for (int i = 0; i < 4; ++i) {
            held.push_back(std::make_unique<RawClient>(port));
        }
        QTRY_COMPARE(f.server.connectionCount(), 4);
        RawClient fifth(port);
        QVERIFY(fifth.waitClosed());
        QCOMPARE(fifth.status(), 429);

        // Another client still gets in, up to the cap on them all.
        for (int i = 0; i < 2; ++i) {
            held.push_back(std::make_unique<RawClient>(port, QHostAddress(QStringLiteral("127.0.0.2"))));
        }
        QTRY_COMPARE(f.server.connectionCount(), 6);
        RawClient beyond(port, QHostAddress(QStringLiteral("127.0.0.3")));
        QVERIFY(beyond.waitClosed());
        QCOMPARE(beyond.status(), 503);
        QCOMPARE(f.server.connectionCount(), 6);

        // A place that comes free is taken again.
        held.front().reset();
        QTRY_COMPARE(f.server.connectionCount(), 5);
        RawClient again(port);
        again.socket.write("GET /api/state HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
        QTRY_COMPARE(again.status(), 200);
    }

    void keepAliveAndClose()
    {
        RemoteFixture f;
        const quint16 port = f.server.boundAddress().port;
        const QByteArray get = "GET /api/state HTTP/1.1\r\nHost: 127.0.0.1\r\n";

        RawClient twice(port);
        twice.socket.write(get + "\r\n" + get + "Connection: close\r\n\r\n");
        QVERIFY(twice.waitClosed());
        QCOMPARE(twice.received.count("HTTP/1.1 200 OK\r\n"), 2);
        QCOMPARE(twice.received.count("Connection: close\r\n"), 1);

        RawClient http10(port);
        http10.socket.write("GET /api/state HTTP/1.0\r\n\r\n");
        QVERIFY(http10.waitClosed());
        QCOMPARE(http10.status(), 200);

        // A WebSocket opened after a request on the same connection finds its
        // request where it was: nothing beyond the first was read.
        RawClient thenWebSocket(port);
        thenWebSocket.socket.write(get + "\r\n");
        thenWebSocket.upgrade("/api/events", port);
        QTRY_VERIFY(thenWebSocket.received.contains("HTTP/1.1 101"));
        QTRY_COMPARE(f.server.eventClientCount(), 1);
        QVERIFY(thenWebSocket.received.startsWith("HTTP/1.1 200 OK\r\n"));
        // The state follows as the first message.
        QTRY_VERIFY(thenWebSocket.received.contains("\"cells\""));
    }

    void webSocketsThatDoNotBehaveAreDropped()
    {
        RemoteFixture f;
        RemoteServer::Limits limits;
        limits.maxUnsent = 16 * 1024;
        f.server.setLimits(limits);
        const quint16 port = f.server.boundAddress().port;
        QUrl events = f.url("/api/events");
        events.setScheme("ws");

        // A handshake short of what it needs is answered, not dropped unanswered.
        const QByteArray key = "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";
        const QByteArray version = "Sec-WebSocket-Version: 13\r\n";
        for (const QByteArray &rest : {key + version, "Connection: Upgrade\r\n" + version,
                                       "Connection: Upgrade\r\nSec-WebSocket-Key: !!!\r\n" + version,
                                       "Connection: Upgrade\r\nSec-WebSocket-Key: c2hvcnQ=\r\n" + version,
                                       "Connection: Upgrade\r\n" + key}) {
            RawClient badHandshake(port);
            badHandshake.socket.write("GET /api/events HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n" + rest
                                      + "\r\n");
            QVERIFY(badHandshake.waitClosed());
            QVERIFY2(badHandshake.status() == 400, badHandshake.received + " for " + rest);
        }

        // A mirror that behaves stays through all of it.
        QWebSocket mirror;
        int mirrored = 0;
        connect(&mirror, &QWebSocket::textMessageReceived, this, [&mirrored] { ++mirrored; });
        mirror.open(events);
        QTRY_COMPARE(mirrored, 1);

        // A message larger than any the interface takes, in small frames.
        QWebSocket talker;
        talker.setOutgoingFrameSize(4096);
        QSignalSpy talkerGone(&talker, &QWebSocket::disconnected);
        talker.open(events);
        QTRY_COMPARE(talker.state(), QAbstractSocket::ConnectedState);
        QCOMPARE(f.server.eventClientCount(), 2);
        talker.sendTextMessage(QString(100 * 1024, QLatin1Char('x')));
        QVERIFY(talkerGone.wait());
        QTRY_COMPARE(f.server.eventClientCount(), 1);

        // One that never reads what it is sent.
        RawClient deaf(port, QHostAddress(), false);
        deaf.socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        deaf.upgrade("/api/events", port);
        QTRY_COMPARE(f.server.eventClientCount(), 2);
        for (int change = 0; change < 5000 && f.server.eventClientCount() > 1; ++change) {
            f.panel.Check2()->click();
            QCoreApplication::processEvents();
        }
        QCOMPARE(f.server.eventClientCount(), 1);

        // One that reads but never answers a ping.
        limits.pingInterval = std::chrono::milliseconds(300);
        f.server.setLimits(limits);
        RawClient mute(port);
        mute.upgrade("/api/events", port);
        QTRY_COMPARE(f.server.eventClientCount(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(f.server.eventClientCount(), 1, 3000);
        QVERIFY(mute.waitClosed());
        QCOMPARE(mirror.state(), QAbstractSocket::ConnectedState);

        // Every socket of them is released.
        mirror.close();
        QTRY_COMPARE(f.server.eventClientCount(), 0);
        QTRY_COMPARE(f.server.connectionCount(), 0);
    }

    // On loopback without a token, another account of this machine is turned
    // away at the door, while this user's own connections get in.
    void anotherAccountIsRefusedOnLoopback()
    {
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (::geteuid() != 0 || setpriv.isEmpty()) {
            QSKIP("needs the superuser and setpriv to connect as another account");
        }
        RemoteFixture f;
        const quint16 port = f.server.boundAddress().port;
        QProcess other;
        other.start(setpriv, {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                              QStringLiteral("--clear-groups"), QStringLiteral("bash"), QStringLiteral("-c"),
                              QStringLiteral("exec 3<>/dev/tcp/127.0.0.1/%1; printf 'GET /api/state HTTP/1.1\\r\\n"
                                             "Host: 127.0.0.1\\r\\n\\r\\n' >&3; head -c 12 <&3")
                                  .arg(port)});
        QVERIFY(QTest::qWaitFor([&] { return other.state() == QProcess::NotRunning; }, 10000));
        QCOMPARE(other.readAllStandardOutput(), QByteArray("HTTP/1.1 403"));

        RawClient own(port);
        own.socket.write("GET /api/state HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
        QTRY_COMPARE(own.status(), 200);
    }

    void refusalsAreLoggedEscapedOncePerClient()
    {
        QStringList log;
        capturedLog = &log;
        const QtMessageHandler before = qInstallMessageHandler(captureRemoteLog);
        {
            const QString token = QStringLiteral("0123456789abcdef0123456789abcdef");
            RemoteFixture f(false, token);
            const quint16 port = f.server.boundAddress().port;
            for (int i = 0; i < 3; ++i) {
                RawClient forger(port);
                forger.socket.write("GET /x%0a2024-01-01%20forged%1b[2J?token=" + token.toLatin1()
                                    + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
                QTRY_COMPARE(forger.status(), 404);
            }
            RawClient other(port, QHostAddress(QStringLiteral("127.0.0.2")));
            other.socket.write("GET /api/state?token=wrong HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
            QTRY_COMPARE(other.status(), 401);
        }
        qInstallMessageHandler(before);
        capturedLog = nullptr;

        QCOMPARE(log.size(), 2);
        QVERIFY2(log[0].contains(QStringLiteral("/x\\x0a2024-01-01 forged\\x1b[2J")), qPrintable(log[0]));
        QVERIFY2(log[1].startsWith(QStringLiteral("127.0.0.2 GET /api/state 401")), qPrintable(log[1]));
        for (const QString &line : log) {
            QVERIFY(std::none_of(line.begin(), line.end(),
                                 [](QChar c) { return c.category() == QChar::Other_Control; }));
            QVERIFY(!line.contains(QStringLiteral("0123456789abcdef")));
        }
    }
};

QTEST_MAIN(tst_RemoteConnections)
#include "tst_RemoteConnections.moc"
