#include "NmeaSentence.h"

#include "run/GpsdFixSource.h"
#include "run/SteadyClock.h"

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {

// A receiver on a loopback socket, as gpsd reads one at tcp://HOST:PORT:
// a fix at 35°31.5'N 139°42'E every 200 ms to whoever connects.
class NmeaFeed : public QObject
{
public:
    NmeaFeed()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *peer = m_server.nextPendingConnection())
                m_peers.append(peer);
        });
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const QDateTime now = QDateTime::currentDateTimeUtc();
            const QByteArray time = now.toString(QStringLiteral("HHmmss.zzz")).toLatin1();
            const QByteArray date = now.toString(QStringLiteral("ddMMyy")).toLatin1();
            const QByteArray fix = nmeaSentence("GPRMC," + time + ",A,3531.500,N,13942.000,E,0.0,0.0," + date + ",,,A")
                + nmeaSentence("GPGGA," + time + ",3531.500,N,13942.000,E,1,08,1.0,10.0,M,40.0,M,,");
            for (QTcpSocket *peer : std::as_const(m_peers))
                peer->write(fix);
        });
        m_timer.start(200);
    }

    quint16 port() const { return m_server.serverPort(); }

private:
    QTcpServer m_server;
    QList<QTcpSocket *> m_peers;
    QTimer m_timer;
};

// A loopback port nothing listens on, now.
quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

} // namespace

class tst_GpsdFixSource : public QObject
{
    Q_OBJECT

private slots:
    void parsesAddresses()
    {
        QString host;
        int port = 0;
        QString error;
        QVERIFY(GpsdFixSource::parseAddress(QStringLiteral("[::1]:3000"), host, port, error));
        QCOMPARE(host, QStringLiteral("::1"));
        QCOMPARE(port, 3000);
        QVERIFY(GpsdFixSource::parseAddress(QStringLiteral("gps.local"), host, port, error));
        QCOMPARE(port, GpsdFixSource::DefaultPort);
        QVERIFY(!GpsdFixSource::parseAddress(QStringLiteral("host:70000"), host, port, error));
        QVERIFY(!GpsdFixSource::parseAddress(QStringLiteral("a b"), host, port, error));
    }

    // Started before gpsd, the source says there is none; it connects once
    // gpsd is up, takes its fixes, and says so again when gpsd goes away.
    void followsGpsdComingAndGoing()
    {
        if (!QFileInfo(QStringLiteral(GPSD_PROGRAM)).isExecutable())
            QSKIP("gpsd is not installed");
        const quint16 gpsdPort = freePort();
        const SteadyClock clock;
        GpsdFixSource source(clock, QStringLiteral("127.0.0.1"), gpsdPort);
        QList<PositionFix> fixes;
        connect(&source, &FixSource::fixReceived, this, [&fixes](const PositionFix &fix) { fixes.append(fix); });
        source.start();
        QTRY_COMPARE_WITH_TIMEOUT(source.state(), FixSource::State::Unavailable, 5000);

        NmeaFeed feed;
        QProcess gpsd;
        gpsd.setProcessChannelMode(QProcess::MergedChannels);
        // In the foreground, reading the feed before any client asks, on
        // the loopback port only.
        gpsd.start(QStringLiteral(GPSD_PROGRAM),
                   {QStringLiteral("-N"), QStringLiteral("-n"), QStringLiteral("-S"), QString::number(gpsdPort),
                    QStringLiteral("tcp://127.0.0.1:%1").arg(feed.port())});
        const auto stopGpsd = qScopeGuard([&gpsd] {
            gpsd.terminate();
            if (!gpsd.waitForFinished(5000))
                gpsd.kill();
        });
        if (!gpsd.waitForStarted(5000))
            QSKIP(qPrintable(QStringLiteral("gpsd does not start: %1").arg(gpsd.errorString())));
        const auto hasFix = [&fixes] {
            return std::any_of(fixes.cbegin(), fixes.cend(), [](const PositionFix &fix) { return fix.valid; });
        };
        QTRY_VERIFY_WITH_TIMEOUT(hasFix() || gpsd.state() == QProcess::NotRunning, 20000);
        if (!hasFix())
            QSKIP(qPrintable(QStringLiteral("gpsd ended: %1").arg(QString::fromLocal8Bit(gpsd.readAll()))));
        QCOMPARE(source.state(), FixSource::State::Receiving);
        const PositionFix fix = *std::find_if(fixes.cbegin(), fixes.cend(), [](const PositionFix &f) { return f.valid; });
        QCOMPARE(fix.place.lat, 35.525);
        QCOMPARE(fix.place.lon, 139.7);
        QVERIFY(source.nowMs() - fix.timeMs < 20000);

        gpsd.terminate();
        QVERIFY(gpsd.waitForFinished(5000));
        QTRY_COMPARE_WITH_TIMEOUT(source.state(), FixSource::State::Unavailable, 5000);
    }
};

QTEST_GUILESS_MAIN(tst_GpsdFixSource)
#include "tst_GpsdFixSource.moc"
