#include "settings/SideSettings.h"
#include "settings/SideSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class tst_SideSettings : public QObject
{
    Q_OBJECT

private slots:
    void displayFieldsRoundTripBesideTheOthers();
    void displayValuesOutOfRangeKeepTheirDefaults();
    void aDamagedFileIsKeptAsBadAndItsTokenKept();
    void aTokenThatIsNoGoodIsReplaced_data();
    void aTokenThatIsNoGoodIsReplaced();
    void aLinkIsNotWrittenThrough();
    void theStoreKeepsWhatAFileDamagedSinceHeld();

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
    settings.gpsRadius = 55;
    settings.displayStyle = DisplayStyle::Lcd;
    QVERIFY(settings.save(path));

    const SideSettings again = SideSettings::load(path);
    QCOMPARE(again.displayScale, 250);
    QVERIFY(again.displayFullScreen);
    QCOMPARE(again.displayMonitor, 2);
    QCOMPARE(again.panelScale, 150);
    QCOMPARE(again.displaySegmentStyle, 0);
    QCOMPARE(again.gpsRadius, 55);
    QCOMPARE(again.displayStyle, DisplayStyle::Lcd);
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
    // A stop's circle has a radius of 10 to 200 m.
    writeFile(path, R"({"display": {"scale": 130, "monitor": 0, "fullScreen": "yes", "segmentStyle": 3, "style": "oled"}, "panel": {"scale": 125},
                        "gps": {"radius": 500}})");
    const SideSettings settings = SideSettings::load(path);
    QCOMPARE(settings.displayScale, 100);
    QCOMPARE(settings.displayMonitor, 1);
    QVERIFY(!settings.displayFullScreen);
    QCOMPARE(settings.panelScale, 100);
    QCOMPARE(settings.displaySegmentStyle, 1);
    QCOMPARE(settings.gpsRadius, 30);
    QCOMPARE(settings.displayStyle, DisplayStyle::Led);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Cut off in the middle, as a full disk or a crash would leave it: kept for
// whoever looks into it, and mended at once with the token a phone already
// knows, so that the next read has nothing to say.
void tst_SideSettings::aDamagedFileIsKeptAsBadAndItsTokenKept()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("R57.side.json"));
    const QString token = QStringLiteral("9f86d081884c7d659a2feaa0c55ad015");
    const QByteArray damaged = R"({"remote": {"enabled": true, "token": ")" + token.toLatin1() + R"("}, "display": {"sca)";
    writeFile(path + ".bad", "an older one");
    writeFile(path, damaged);

    QString error;
    const SideSettings side = SideSettings::load(path, &error);
    QCOMPARE(side.remoteToken, token);
    QVERIFY2(error.contains(QStringLiteral("R57.side.json.bad")), qPrintable(error));
    QCOMPARE(contents(path + ".bad"), damaged);
    QString again;
    QCOMPARE(SideSettings::load(path, &again).remoteToken, token);
    QVERIFY2(again.isEmpty(), qPrintable(again));
}

void tst_SideSettings::aTokenThatIsNoGoodIsReplaced_data()
{
    QTest::addColumn<QByteArray>("token");
    QTest::addColumn<bool>("kept");
    QTest::newRow("64 bits") << QByteArray(R"("9f86d081884c7d65")") << false;
    QTest::newRow("not for a URL") << QByteArray(R"("9f86d081884c7d659a2feaa0c55ad015/+")") << false;
    QTest::newRow("a number") << QByteArray("1234567890") << false;
    QTest::newRow("URL-safe, 192 bits") << QByteArray(R"("n4bQgYhMfWWaL-qgxVrQFaO_zxs2Vb0Z")") << true;
}

void tst_SideSettings::aTokenThatIsNoGoodIsReplaced()
{
    QFETCH(QByteArray, token);
    QFETCH(bool, kept);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("R57.side.json"));
    writeFile(path, R"({"remote": {"token": )" + token + R"(}, "later": 1})");
    QString error;
    const SideSettings side = SideSettings::load(path, &error);
    const QJsonObject saved = QJsonDocument::fromJson(contents(path)).object();
    if (kept) {
        QCOMPARE(side.remoteToken.toLatin1(), token.mid(1, token.size() - 2));
        QVERIFY(error.isEmpty());
        return;
    }
    QVERIFY(SideSettings::isValidToken(side.remoteToken));
    QVERIFY2(error.contains(QStringLiteral("トークン")), qPrintable(error));
    // Written at once, beside the fields it does not know.
    QCOMPARE(saved.value("remote").toObject().value("token").toString(), side.remoteToken);
    QCOMPARE(saved.value("later").toInt(), 1);
}

void tst_SideSettings::aLinkIsNotWrittenThrough()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("R57.side.json"));
    const QString elsewhere = folder.filePath(QStringLiteral("script.sh"));
    writeFile(elsewhere, "echo hello\n");
    QVERIFY(QFile::link(elsewhere, path));
    QString error;
    QVERIFY(!SideSettings().save(path, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)) && error.contains(QStringLiteral("リンク")), qPrintable(error));
    QCOMPARE(contents(elsewhere), QByteArray("echo hello\n"));
    QVERIFY(QFileInfo(path).isSymLink());
}

// The file is damaged while the program runs (a disk filled up under
// another writer): the damage is kept and said once, and the next change is
// made to what the good file held, not to the defaults put in its place.
void tst_SideSettings::theStoreKeepsWhatAFileDamagedSinceHeld()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("R57.side.json"));
    writeFile(path, R"({"display": {"scale": 150, "dimmer": 2}, "future": {"kept": true},
                        "remote": {"token": "9f86d081884c7d659a2feaa0c55ad015"}})");
    SideSettingsStore store(path);
    QVERIFY(store.problems().isEmpty());
    QSignalSpy problems(&store, &SideSettingsStore::problemFound);
    const QByteArray damaged = R"({"display": {"scale": 1)";
    writeFile(path, damaged);

    for (const int panelScale : {200, 150}) {
        QVERIFY(store.update([panelScale](SideSettings &side) { side.panelScale = panelScale; }));
        const SideSettings saved = SideSettings::load(path);
        QCOMPARE(saved.panelScale, panelScale);
        QCOMPARE(saved.displayScale, 150);
        QCOMPARE(saved.remoteToken, QStringLiteral("9f86d081884c7d659a2feaa0c55ad015"));
        const QJsonObject root = QJsonDocument::fromJson(contents(path)).object();
        QVERIFY(root.value("future").toObject().value("kept").toBool());
        QCOMPARE(root.value("display").toObject().value("dimmer").toInt(), 2);
        QCOMPARE(contents(path + ".bad"), damaged);
    }
    QCOMPARE(problems.size(), 1);
    QVERIFY2(store.problems().value(0).contains(QStringLiteral("R57.side.json.bad")), qPrintable(store.problems().value(0)));
}

QTEST_APPLESS_MAIN(tst_SideSettings)
#include "tst_SideSettings.moc"
