#include "sound/CommandString.h"

#include <QTest>

class tst_CommandString : public QObject
{
    Q_OBJECT

private slots:
    void readsTheCommandsOfSoundPlayback()
    {
        const auto open = CommandString::parse(
            QStringLiteral("OPEN \"/home/bus/my sounds/チャイム.wav\" Type waveaudio alias R57S3 wait"));
        QVERIFY(open);
        QCOMPARE(open->verb, QStringLiteral("open"));
        QCOMPARE(open->device, QStringLiteral("/home/bus/my sounds/チャイム.wav"));
        QCOMPARE(open->values.value(QStringLiteral("type")), QStringLiteral("waveaudio"));
        QCOMPARE(open->values.value(QStringLiteral("alias")), QStringLiteral("R57S3"));
        QVERIFY(open->wait);

        const auto play = CommandString::parse(QStringLiteral("play R57S1 from 0"));
        QVERIFY(play);
        QCOMPARE(play->device, QStringLiteral("R57S1"));
        QCOMPARE(play->values.value(QStringLiteral("from")), QStringLiteral("0"));
        QVERIFY(!play->wait);
    }

    void quotedWordsReadBackUnchanged_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("word");
        QTest::newRow("ordinary path is only quoted") << "/home/bus/my sounds/チャイム.wav"
                                                      << "\"/home/bus/my sounds/チャイム.wav\"";
        QTest::newRow("quote") << "/tmp/say \"hi\".wav" << "\"/tmp/say \\\"hi\\\".wav\"";
        QTest::newRow("backslash before quote") << "/tmp/a\\\".wav" << "\"/tmp/a\\\\\\\".wav\"";
        QTest::newRow("trailing backslash") << "/tmp/b\\" << "\"/tmp/b\\\\\"";
    }

    void quotedWordsReadBackUnchanged()
    {
        QFETCH(QString, path);
        QFETCH(QString, word);
        QCOMPARE(CommandString::quoted(path), word);
        const auto open = CommandString::parse(QStringLiteral("open %1 type waveaudio alias A").arg(word));
        QVERIFY(open);
        QCOMPARE(open->device, path);
        QCOMPARE(open->values.value(QStringLiteral("alias")), QStringLiteral("A"));
    }

    void refusesWhatIsNoCommand_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("verb alone") << "close";
        QTest::newRow("open quote") << "open \"/tmp/a.wav type waveaudio alias A";
        QTest::newRow("escaped closing quote") << "open \"/tmp/a.wav\\\" type waveaudio alias A";
        QTest::newRow("keyword without value") << "open \"/tmp/a.wav\" type waveaudio alias";
        QTest::newRow("unknown word") << "play A from 0 loudly";
    }

    void refusesWhatIsNoCommand()
    {
        QFETCH(QString, text);
        QVERIFY(!CommandString::parse(text));
    }
};

QTEST_GUILESS_MAIN(tst_CommandString)
#include "tst_CommandString.moc"
