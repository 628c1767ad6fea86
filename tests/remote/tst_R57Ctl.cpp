#include "RemoteFixture.h"

#include <QProcess>
#include <QTcpServer>
#include <QTest>

// r57ctl against the program's remote interface: what it prints and its
// exit codes.
class tst_R57Ctl : public QObject
{
    Q_OBJECT

private:
    struct Run
    {
        int exitCode = -1;
        QString out;
        QString err;
    };

    // Runs r57ctl while this process goes on serving requests.
    static Run r57ctl(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral(R57CTL), arguments);
        if (!process.waitForStarted()) {
            return {};
        }
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        if (process.state() != QProcess::NotRunning) {
            loop.exec();
        }
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

private slots:
    void exitCodesSayWhatHappened()
    {
        RemoteFixture f;
        const QString url = f.url("/").toString();

        Run run = r57ctl({"--url", url, "route", "12", "2"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains(QStringLiteral("上町")), qPrintable(run.out));
        QCOMPARE(f.bus.route().currentStop(), 2);

        run = r57ctl({"--url", url, "next"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(f.bus.route().currentStop(), 3);

        run = r57ctl({"--url", url, "stop-request"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains(QStringLiteral("とまります")), qPrintable(run.out));
        QVERIFY(f.bus.stopRequested());

        run = r57ctl({"--url", url, "state", "--json"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(run.out.toUtf8()).object()["stop"].toObject()["name"].toString(), QStringLiteral("中町"));

        // Refused by the program: the reason it gave.
        run = r57ctl({"--url", url, "route", "99"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("指定した系統のデータがありません")), qPrintable(run.err));

        // Usage.
        QCOMPARE(r57ctl({"--url", url, "late-night", "maybe"}).exitCode, 2);
        QCOMPARE(r57ctl({"--url", url, "fly"}).exitCode, 2);
        QCOMPARE(r57ctl({"--url", url}).exitCode, 2);

        // Nobody listening: a port that was free a moment ago.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 closedPort = probe.serverPort();
        probe.close();
        run = r57ctl({"--url", QStringLiteral("http://127.0.0.1:%1/").arg(closedPort), "state"});
        QCOMPARE(run.exitCode, 3);
        QVERIFY2(run.err.contains(QStringLiteral("R57 が応答しません")), qPrintable(run.err));
    }

    void tokenFromThePrintedAddress()
    {
        RemoteFixture f(false, QStringLiteral("00112233445566778899aabbccddeeff"));
        const QString url = f.url("/").toString();
        QCOMPARE(r57ctl({"--url", url, "state"}).exitCode, 1);
        QCOMPARE(r57ctl({"--url", url + "?token=00112233445566778899aabbccddeeff", "state"}).exitCode, 0);
        QCOMPARE(r57ctl({"--url", url, "--token", "00112233445566778899aabbccddeeff", "state"}).exitCode, 0);
    }
};

QTEST_MAIN(tst_R57Ctl)
#include "tst_R57Ctl.moc"
