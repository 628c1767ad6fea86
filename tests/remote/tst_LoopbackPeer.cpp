#include "remote/LoopbackPeer.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

#include <unistd.h>

// Who owns the other end of a loopback connection, asked of the real kernel.
class tst_LoopbackPeer : public QObject
{
    Q_OBJECT

private slots:
    void theOwnerOfALoopbackConnection_data()
    {
        QTest::addColumn<QHostAddress>("listen");
        QTest::addColumn<QHostAddress>("connect");
        QTest::newRow("IPv4") << QHostAddress(QHostAddress::LocalHost) << QHostAddress(QHostAddress::LocalHost);
        QTest::newRow("IPv6") << QHostAddress(QHostAddress::LocalHostIPv6) << QHostAddress(QHostAddress::LocalHostIPv6);
        // Both families on one socket: an IPv4 caller shows as ::ffff:127.0.0.1.
        QTest::newRow("IPv4 on a dual-stack listener") << QHostAddress(QHostAddress::Any)
                                                       << QHostAddress(QHostAddress::LocalHost);
    }

    void theOwnerOfALoopbackConnection()
    {
        QFETCH(QHostAddress, listen);
        QFETCH(QHostAddress, connect);
        QTcpServer server;
        if (!server.listen(listen)) {
            QSKIP(qPrintable(QStringLiteral("cannot listen on %1").arg(listen.toString())));
        }
        QTcpSocket client;
        client.connectToHost(connect, server.serverPort());
        QVERIFY(client.waitForConnected(5000));
        QVERIFY(server.waitForNewConnection(5000));
        const std::unique_ptr<QTcpSocket> accepted(server.nextPendingConnection());
        QCOMPARE(LoopbackPeer::ownerUid(*accepted), std::optional<uint>(::getuid()));

        // Once the caller has gone there is nobody to name.
        client.abort();
        QTRY_COMPARE(accepted->state(), QAbstractSocket::UnconnectedState);
        QVERIFY(!LoopbackPeer::ownerUid(*accepted));
        QVERIFY(!LoopbackPeer::ownerUid(QTcpSocket()));
    }

    // A connection made by another account is told apart from ours.
    void anotherAccountsConnection()
    {
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (::geteuid() != 0 || setpriv.isEmpty()) {
            QSKIP("needs the superuser and setpriv to connect as another account");
        }
        constexpr uint Nobody = 65534;
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QProcess other;
        other.start(setpriv, {QStringLiteral("--reuid=%1").arg(Nobody), QStringLiteral("--regid=%1").arg(Nobody),
                              QStringLiteral("--clear-groups"), QStringLiteral("bash"), QStringLiteral("-c"),
                              QStringLiteral("exec 3<>/dev/tcp/127.0.0.1/%1; read -r -u 3").arg(server.serverPort())});
        QVERIFY(server.waitForNewConnection(10000));
        const std::unique_ptr<QTcpSocket> accepted(server.nextPendingConnection());
        QCOMPARE(LoopbackPeer::ownerUid(*accepted), std::optional<uint>(Nobody));
        // The line its `read` waits for ends it.
        accepted->write("\n");
        accepted->flush();
        QVERIFY(other.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(tst_LoopbackPeer)
#include "tst_LoopbackPeer.moc"
