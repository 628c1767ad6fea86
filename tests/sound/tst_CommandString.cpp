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

    void refusesWhatIsNoCommand_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("verb alone") << "close";
        QTest::newRow("open quote") << "open \"/tmp/a.wav type waveaudio alias A";
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
