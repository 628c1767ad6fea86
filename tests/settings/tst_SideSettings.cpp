#include "settings/SideSettings.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class tst_SideSettings : public QObject
{
    Q_OBJECT

private slots:
    void displayFieldsRoundTripBesideTheOthers();
    void displayValuesOutOfRangeKeepTheirDefaults();

    void tokenIsKeptAndOtherFieldsSurvive()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("config/R57.side.json");
        QFile::remove(path);
        {
            QDir().mkpath(dir.filePath("config"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(R"({"display":{"dimmer":2},"remote":{"enabled":true,"address":"0.0.0.0:9000"}})");
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
        QVERIFY(file.readAll().contains("\"dimmer\": 2")); // a later program's field is kept
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
};

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

void tst_SideSettings::displayFieldsRoundTripBesideTheOthers()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("R57.side.json"));
    writeFile(path, R"({"remote": {"enabled": true}, "later": {"x": 1}})");

    SideSettings settings = SideSettings::load(path);
    QCOMPARE(settings.displayScale, 100);
    settings.displayScale = 250;
    settings.displayFullScreen = true;
    settings.displayMonitor = 2;
    settings.panelScale = 150;
    settings.displaySegmentStyle = 0;
    QVERIFY(settings.save(path));

    const SideSettings again = SideSettings::load(path);
    QCOMPARE(again.displayScale, 250);
    QVERIFY(again.displayFullScreen);
    QCOMPARE(again.displayMonitor, 2);
    QCOMPARE(again.panelScale, 150);
    QCOMPARE(again.displaySegmentStyle, 0);
    QVERIFY(again.remoteEnabled);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QJsonDocument::fromJson(file.readAll()).object().value("later").toObject().value("x").toInt(), 1);
}

void tst_SideSettings::displayValuesOutOfRangeKeepTheirDefaults()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("R57.side.json"));
    // 130 is no step, monitors count from 1, full screen is a boolean.
    // The panel's steps are fewer than the display's; there are three digit faces.
    writeFile(path, R"({"display": {"scale": 130, "monitor": 0, "fullScreen": "yes", "segmentStyle": 3}, "panel": {"scale": 125}})");
    const SideSettings settings = SideSettings::load(path);
    QCOMPARE(settings.displayScale, 100);
    QCOMPARE(settings.displayMonitor, 1);
    QVERIFY(!settings.displayFullScreen);
    QCOMPARE(settings.panelScale, 100);
    QCOMPARE(settings.displaySegmentStyle, 1);
}

QTEST_APPLESS_MAIN(tst_SideSettings)
#include "tst_SideSettings.moc"
