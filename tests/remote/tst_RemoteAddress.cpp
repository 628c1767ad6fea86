#include "remote/RemoteAddress.h"

#include <QTest>

// The addresses the remote interface is given (the option itself is read
// like every option whose value may be left out: tst_ProgramCommandLine).
class tst_RemoteAddress : public QObject
{
    Q_OBJECT

private slots:
    void addressesAndTheirReach()
    {
        const auto loopback = RemoteAddress::parse("localhost:8157");
        QVERIFY(loopback && loopback->isLoopback());
        const auto v6 = RemoteAddress::parse("[::1]:80");
        QVERIFY(v6 && v6->isLoopback());
        QCOMPARE(v6->url("t"), QStringLiteral("http://[::1]:80/?token=t"));
        const auto any = RemoteAddress::parse("0.0.0.0:8157");
        QVERIFY(any && !any->isLoopback());
        QString error;
        QVERIFY(!RemoteAddress::parse("phone.example:80", &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!RemoteAddress::parse("127.0.0.1:70000"));
        QVERIFY(!RemoteAddress::parse("127.0.0.1"));
    }
};

QTEST_APPLESS_MAIN(tst_RemoteAddress)
#include "tst_RemoteAddress.moc"
