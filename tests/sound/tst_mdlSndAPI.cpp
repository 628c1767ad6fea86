#include "FakeMultimedia.h"
#include "sound/mdlSndAPI.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_mdlSndAPI : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString touch(const QString &name)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        return path;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void missingOrEmptyPathSendsNothing()
    {
        FakeMultimedia multimedia;
        mdlSndAPI sound(multimedia, QStringLiteral("R57"));
        sound.PlaySnd(QString(), QStringLiteral("S1"), false);
        sound.PlaySnd(m_dir.filePath(QStringLiteral("missing.wav")), QStringLiteral("S1"), true);
        QVERIFY(multimedia.commands.isEmpty());
    }

    void asyncPlayByExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::newRow("wav") << "a.wav" << "waveaudio";
        QTest::newRow("mixed case") << "b.Wav" << "waveaudio";
        QTest::newRow("mp3") << "c.MP3" << "mpegvideo";
        QTest::newRow("midi") << "d.mid" << "sequencer";
        QTest::newRow("space in name") << "stop sound.wav" << "waveaudio";
    }

    void asyncPlayByExtension()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        const QString path = touch(name);
        FakeMultimedia multimedia;
        mdlSndAPI(multimedia, QStringLiteral("R57")).PlaySnd(path, QStringLiteral("S1"), false);
        QCOMPARE(multimedia.commands, QStringList({
                                          QStringLiteral("close R57S1"),
                                          QStringLiteral("open \"%1\" type %2 alias R57S1 wait").arg(path, type),
                                          QStringLiteral("stop R57S1"),
                                          QStringLiteral("play R57S1 from 0"),
                                      }));
    }

    void quotesInThePathAreEscaped()
    {
        const QString path = touch(QStringLiteral("say \"hi\".wav"));
        FakeMultimedia multimedia;
        mdlSndAPI(multimedia, QStringLiteral("R57")).PlaySnd(path, QStringLiteral("S1"), false);
        QString escaped = path;
        escaped.replace(QLatin1String("\""), QLatin1String("\\\""));
        QCOMPARE(multimedia.commands.value(1), QStringLiteral("open \"%1\" type waveaudio alias R57S1 wait").arg(escaped));
    }

    void otherEndingsOnlyCloseTheChannel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("wave") << "a.wave";
        QTest::newRow("midi") << "a.midi";
        QTest::newRow("no extension") << "noextension";
    }

    void otherEndingsOnlyCloseTheChannel()
    {
        QFETCH(QString, name);
        FakeMultimedia multimedia;
        mdlSndAPI(multimedia, QStringLiteral("R57")).PlaySnd(touch(name), QStringLiteral("S2"), true);
        QCOMPARE(multimedia.commands, QStringList{QStringLiteral("close R57S2")});
    }

    void waitedPlayPausesAfterTheSound()
    {
        const QString path = touch(QStringLiteral("w.wav"));
        FakeMultimedia multimedia;
        mdlSndAPI sound(multimedia, QStringLiteral("R57"));
        sound.PlaySnd(path, QStringLiteral("S3"), true, 200);
        QCOMPARE(multimedia.commands.mid(2), QStringList({QStringLiteral("play R57S3 from 0 wait"),
                                                          QStringLiteral("sleep 200")}));
        multimedia.commands.clear();
        sound.PlaySnd(path, QStringLiteral("S3"), true, 0);
        QCOMPARE(multimedia.commands.last(), QStringLiteral("play R57S3 from 0 wait"));
    }

    void failedOpenEndsQuietly()
    {
        FakeMultimedia multimedia;
        multimedia.openResult = 3;
        mdlSndAPI(multimedia, QStringLiteral("R57")).PlaySnd(touch(QStringLiteral("bad.mp3")), QStringLiteral("S1"), true);
        QCOMPARE(multimedia.commands.size(), 2);
        QVERIFY(multimedia.commands.at(1).startsWith(QLatin1String("open ")));
    }

    void closeAllClosesFourChannelsInOrder()
    {
        FakeMultimedia multimedia;
        mdlSndAPI(multimedia, QStringLiteral("R57")).CloseAllSnd();
        QCOMPARE(multimedia.commands, QStringList({QStringLiteral("close R57S1"), QStringLiteral("close R57S2"),
                                                   QStringLiteral("close R57S3"), QStringLiteral("close R57S4")}));
    }

    void fileExistsIsADirectoryLookUp()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile(dir.filePath(QStringLiteral("panel.bmp"))).open(QIODevice::WriteOnly);
        QDir(dir.path()).mkdir(QStringLiteral("empty"));
        const QString root = dir.path() + QLatin1Char('/');

        QVERIFY(mdlSndAPI::FileExists(root + QStringLiteral("panel.bmp")));
        QVERIFY(!mdlSndAPI::FileExists(root + QStringLiteral("other.bmp")));
        QVERIFY(!mdlSndAPI::FileExists(QString()));
        // A folder is no file; a folder path ending in a separator asks for its files.
        QVERIFY(!mdlSndAPI::FileExists(dir.path()));
        QVERIFY(mdlSndAPI::FileExists(root));
        QVERIFY(!mdlSndAPI::FileExists(root + QStringLiteral("empty/")));
        QVERIFY(mdlSndAPI::FileExists(root + QStringLiteral("*.bmp")));
        QVERIFY(mdlSndAPI::FileExists(root + QStringLiteral("pane?.bmp")));
        QVERIFY(!mdlSndAPI::FileExists(root + QStringLiteral("*.gif")));
    }
};

QTEST_GUILESS_MAIN(tst_mdlSndAPI)
#include "tst_mdlSndAPI.moc"
