#include "remote/RemoteAddress.h"
#include "settings/SideSettings.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// The side settings file and the remote address the program is given.
class tst_SideSettings : public QObject
{
    Q_OBJECT

private slots:
    void tokenIsKeptAndOtherFieldsSurvive()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("config/R57.side.json");
        QFile::remove(path);
        {
            QDir().mkpath(dir.filePath("config"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(R"({"display":{"scale":2},"remote":{"enabled":true,"address":"0.0.0.0:9000"}})");
        }
        SideSettings side = SideSettings::load(path);
        QVERIFY(side.remoteEnabled);
        QCOMPARE(side.remoteAddress, QStringLiteral("0.0.0.0:9000"));
        const QString token = side.ensureRemoteToken();
        QVERIFY(QRegularExpression("^[0-9a-f]{32}$").match(token).hasMatch());
        QVERIFY(side.save(path));

        const SideSettings again = SideSettings::load(path);
        QCOMPARE(again.remoteToken, token);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("\"scale\": 2")); // a later program's field is kept
        QCOMPARE(file.permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());
    }

    void aBrokenFileGivesDefaultsAndSaysWhy()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("R57.side.json");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"remote\": ");
        file.close();
        QString error;
        const SideSettings side = SideSettings::load(path, &error);
        QVERIFY(!side.remoteEnabled);
        QCOMPARE(side.remoteAddress, QStringLiteral("127.0.0.1:8157"));
        QVERIFY2(error.contains(QStringLiteral("JSON")), qPrintable(error));
    }

    void remoteOptionAndAddresses()
    {
        QStringList arguments{"R57", "-platform", "offscreen", "--remote"};
        QCOMPARE(RemoteAddress::takeOption(arguments), std::optional<QString>(QString()));
        QCOMPARE(arguments, QStringList({"R57", "-platform", "offscreen"}));
        arguments << "--remote=0.0.0.0:9000";
        QCOMPARE(RemoteAddress::takeOption(arguments), std::optional<QString>(QStringLiteral("0.0.0.0:9000")));
        QVERIFY(!RemoteAddress::takeOption(arguments));

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

QTEST_MAIN(tst_SideSettings)
#include "tst_SideSettings.moc"
