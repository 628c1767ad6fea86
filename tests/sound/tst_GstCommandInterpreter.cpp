#include "sound/GstAudio.h"
#include "sound/GstCommandInterpreter.h"
#include "sound/mdlSndAPI.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include "ToneWav.h"

#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <cmath>

// Plays real files through GStreamer; the tests run with the real-time fake
// audio sink, so sounds take their true length without a sound card.
class tst_GstCommandInterpreter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // A mono 16-bit 22.05 kHz WAV file holding a tone of `milliseconds`.
    QString writeTone(const QString &name, int milliseconds)
    {
        constexpr quint32 rate = 22050;
        return write(name, toneWav(rate, milliseconds, [](quint32 i) {
                         return qint16(8000 * std::sin(2 * M_PI * 880 * i / rate));
                     }));
    }

    // A standard MIDI file with one quarter-second note.
    QString writeMidiNote(const QString &name)
    {
        const unsigned char bytes[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,
                                       'M', 'T', 'r', 'k', 0, 0, 0, 13,
                                       0x00, 0x90, 0x48, 0x60, 0x81, 0x70, 0x80, 0x48, 0x40, 0x00, 0xFF, 0x2F};
        QByteArray data(reinterpret_cast<const char *>(bytes), sizeof bytes);
        data.append('\0');
        return write(name, data);
    }

    QString write(const QString &name, const QByteArray &data)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
            qFatal("cannot write %s", qPrintable(path));
        }
        return path;
    }

    static QString openCommand(const QString &path, const QString &type, const QString &alias)
    {
        return QStringLiteral("open \"%1\" type %2 alias %3 wait").arg(path, type, alias);
    }

    static int openFiles()
    {
        return QDir(QStringLiteral("/proc/self/fd"))
            .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
            .size();
    }

    // Keeps the thread busy without handling any event, as a long handler does.
    static void busyFor(int milliseconds)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < milliseconds) {
        }
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void waitedPlayLastsTheSoundAndTimersKeepRunning()
    {
        GstCommandInterpreter player;
        const QString tone = writeTone(QStringLiteral("チャイム 1.wav"), 300);
        QCOMPARE(player.send(openCommand(tone, QStringLiteral("waveaudio"), QStringLiteral("R57S2"))), 0);

        int ticks = 0;
        QTimer scroller;
        connect(&scroller, &QTimer::timeout, this, [&ticks] { ++ticks; });
        scroller.start(20);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(player.send(QStringLiteral("play R57S2 from 0 wait")), 0);
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= 250 && elapsed < 3000, qPrintable(QString::number(elapsed)));
        QVERIFY(!player.isPlaying(QStringLiteral("R57S2")));
        QVERIFY2(ticks >= 5, "the window's timers stood still during the sound");
    }

    void asyncPlayReturnsWhileTheSoundPlays()
    {
        GstCommandInterpreter player;
        const QString tone = writeTone(QStringLiteral("long.wav"), 3000);
        QCOMPARE(player.send(openCommand(tone, QStringLiteral("waveaudio"), QStringLiteral("R57S1"))), 0);
        QCOMPARE(player.send(QStringLiteral("play R57S1 from 0")), 0);
        QVERIFY(player.isPlaying(QStringLiteral("R57S1")));

        // Channels overlap.
        QCOMPARE(player.send(openCommand(tone, QStringLiteral("waveaudio"), QStringLiteral("R57S2"))), 0);
        QCOMPARE(player.send(QStringLiteral("play R57S2 from 0")), 0);
        QVERIFY(player.isPlaying(QStringLiteral("R57S1")));
        QVERIFY(player.isPlaying(QStringLiteral("R57S2")));

        QCOMPARE(player.send(QStringLiteral("stop r57s1")), 0);
        QVERIFY(!player.isPlaying(QStringLiteral("R57S1")));
        QCOMPARE(player.send(QStringLiteral("close R57S2")), 0);
        QCOMPARE(player.send(QStringLiteral("play R57S2 from 0")), int(GstCommandInterpreter::UnknownAlias));
    }

    void aNewFileReplacesTheOldOnItsChannel()
    {
        GstCommandInterpreter player;
        mdlSndAPI sound(player, QStringLiteral("R57"));
        const QString first = writeTone(QStringLiteral("first.wav"), 3000);
        sound.PlaySnd(first, QStringLiteral("S1"), false);
        QVERIFY(player.isPlaying(QStringLiteral("R57S1")));
        // The file that cannot be played still closed the old one.
        sound.PlaySnd(write(QStringLiteral("second.wave"), "RIFF"), QStringLiteral("S1"), false);
        QVERIFY(!player.isPlaying(QStringLiteral("R57S1")));
        QCOMPARE(player.send(QStringLiteral("stop R57S1")), int(GstCommandInterpreter::UnknownAlias));
        sound.PlaySnd(first, QStringLiteral("S1"), false);
        QVERIFY(player.isPlaying(QStringLiteral("R57S1")));
        sound.CloseAllSnd();
        QVERIFY(!player.isPlaying(QStringLiteral("R57S1")));
    }

    void stoppingOrClosingEndsAWait()
    {
        GstCommandInterpreter player;
        const QString tone = writeTone(QStringLiteral("five.wav"), 5000);
        for (const QString &verb : {QStringLiteral("stop"), QStringLiteral("close")}) {
            QCOMPARE(player.send(openCommand(tone, QStringLiteral("waveaudio"), QStringLiteral("R57S3"))), 0);
            QTimer::singleShot(100, this, [&player, verb] { player.send(verb + QStringLiteral(" R57S3")); });
            QElapsedTimer clock;
            clock.start();
            QCOMPARE(player.send(QStringLiteral("play R57S3 from 0 wait")), 0);
            QVERIFY2(clock.elapsed() < 4000, qPrintable(verb));
        }
    }

    void filesThatCannotBePlayedFailToOpen_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("garbage") << QByteArray(4000, '\x5a');
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated header") << QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16);
    }

    void filesThatCannotBePlayedFailToOpen()
    {
        QFETCH(QByteArray, content);
        GstCommandInterpreter player;
        const QString path = write(QStringLiteral("broken.wav"), content);
        // The log says why, once.
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^Cannot play %1: .+").arg(QRegularExpression::escape(path))));
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QCOMPARE(player.send(openCommand(path, QStringLiteral("waveaudio"), QStringLiteral("R57S1"))),
                 int(GstCommandInterpreter::CannotOpen));
        QCOMPARE(player.send(QStringLiteral("play R57S1 from 0 wait")), int(GstCommandInterpreter::UnknownAlias));
    }

    void missingFilesAndUnknownCommandsFail()
    {
        GstCommandInterpreter player;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot play .*none\\.wav: ")));
        QCOMPARE(player.send(openCommand(m_dir.filePath(QStringLiteral("none.wav")), QStringLiteral("waveaudio"),
                                         QStringLiteral("A"))),
                 int(GstCommandInterpreter::CannotOpen));
        QCOMPARE(player.send(QStringLiteral("seek A to start")), int(GstCommandInterpreter::UnknownCommand));
        QCOMPARE(player.send(QStringLiteral("open \"x.wav\" type cdaudio alias A")),
                 int(GstCommandInterpreter::UnknownCommand));
        QCOMPARE(player.send(QStringLiteral("close A")), int(GstCommandInterpreter::UnknownAlias));
    }

    void midiAndMp3PlayToTheirEnd_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("type");
        QTest::newRow("midi") << writeMidiNote(QStringLiteral("note.mid")) << "sequencer";
        QTest::newRow("mp3") << QStringLiteral(TAVELO_SAMPLES_DIR "/sound/route.mp3") << "mpegvideo";
    }

    void midiAndMp3PlayToTheirEnd()
    {
        QFETCH(QString, path);
        QFETCH(QString, type);
        GstCommandInterpreter player;
        QCOMPARE(player.send(openCommand(path, type, QStringLiteral("R57S3"))), 0);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(player.send(QStringLiteral("play R57S3 from 0 wait")), 0);
        QVERIFY2(clock.elapsed() >= 200 && clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        // And once more from the start.
        clock.restart();
        QCOMPARE(player.send(QStringLiteral("play R57S3 from 0 wait")), 0);
        QVERIFY2(clock.elapsed() >= 200, qPrintable(QString::number(clock.elapsed())));
    }

    void theEndOfAnEarlierPlayDoesNotEndALaterWait()
    {
        GstCommandInterpreter player;
        const QString tone = writeTone(QStringLiteral("short.wav"), 300);
        QCOMPARE(player.send(openCommand(tone, QStringLiteral("waveaudio"), QStringLiteral("R57S2"))), 0);
        QCOMPARE(player.send(QStringLiteral("play R57S2 from 0")), 0);
        // The sound ends while the thread is busy: its notice waits in the queue.
        busyFor(600);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(player.send(QStringLiteral("play R57S2 from 0 wait")), 0);
        QVERIFY2(clock.elapsed() >= 250, qPrintable(QString::number(clock.elapsed())));
    }

    // An output that stalls (a suspended device) neither ends the sound nor
    // fails it; the wait gives the operator's input back all the same.
    void aStalledSoundGivesTheInputBack()
    {
        // This output takes the sound in but would play it an hour late.
        const QByteArray sink = qgetenv("TAVELO_AUDIO_SINK");
        qputenv("TAVELO_AUDIO_SINK", "fakesink sync=true ts-offset=3600000000000");
        const auto restoreSink = qScopeGuard([&sink] { qputenv("TAVELO_AUDIO_SINK", sink); });
        GstCommandInterpreter player;
        const QString tone = writeTone(QStringLiteral("stalls.wav"), 300);
        QCOMPARE(player.send(openCommand(tone, QStringLiteral("waveaudio"), QStringLiteral("R57S2"))), 0);

        // Should the wait not end by itself, closing the channel ends it.
        QTimer rescue;
        rescue.setSingleShot(true);
        connect(&rescue, &QTimer::timeout, this, [&player] { player.send(QStringLiteral("close R57S2")); });
        rescue.start(40000);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^Stopped waiting for .*stalls\\.wav: .*stalled")));
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(player.send(QStringLiteral("play R57S2 from 0 wait")), int(GstCommandInterpreter::CannotPlay));
        QVERIFY2(rescue.isActive(), qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!player.isPlaying(QStringLiteral("R57S2")));

        // The stalled pipeline goes with its channel.
        QCOMPARE(player.send(QStringLiteral("close R57S2")), 0);
        QTRY_COMPARE(GstAudio::livePipelines(), 0);
    }

    void pathsWithQuotesAndSpacesPlay_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("quote") << "say \"next\".wav";
        QTest::newRow("spaces") << "my  sounds step.wav";
        QTest::newRow("backslash and quote") << "a\\\" b.wav";
    }

    void pathsWithQuotesAndSpacesPlay()
    {
        QFETCH(QString, name);
        GstCommandInterpreter player;
        mdlSndAPI sound(player, QStringLiteral("R57"));
        const QString tone = writeTone(name, 300);
        QElapsedTimer clock;
        clock.start();
        sound.PlaySnd(tone, QStringLiteral("S2"), true);
        QVERIFY2(clock.elapsed() >= 250, qPrintable(QString::number(clock.elapsed())));
    }

    // A day of stepping: every play, stop and close gives back its pipeline
    // and the files it opened.
    void manyPlaysLeaveNothingBehind()
    {
        GstCommandInterpreter player;
        mdlSndAPI sound(player, QStringLiteral("R57"));
        const QStringList files = {writeTone(QStringLiteral("step.wav"), 60), writeMidiNote(QStringLiteral("step.mid")),
                                   QStringLiteral(TAVELO_SAMPLES_DIR "/sound/route.mp3")};
        // The first play of each kind loads GStreamer's plugins.
        for (const QString &file : files) {
            sound.PlaySnd(file, QStringLiteral("S2"), true);
        }
        sound.CloseAllSnd();
        QTRY_COMPARE(GstAudio::livePipelines(), 0);
        const int filesBefore = openFiles();

        for (int play = 0; play < 50; ++play) {
            const QString &file = files.at(play % files.size());
            // Mostly cut off by the next sound, as quick steps do; now and then played out.
            sound.PlaySnd(file, play % 2 ? QStringLiteral("S1") : QStringLiteral("S2"), play % 10 == 0);
            if (play % 7 == 0) {
                player.send(QStringLiteral("stop R57S1"));
            }
        }
        sound.CloseAllSnd();
        QTRY_COMPARE(GstAudio::livePipelines(), 0);
        QTRY_COMPARE(openFiles(), filesBefore);
    }
};

QTEST_GUILESS_MAIN(tst_GstCommandInterpreter)
#include "tst_GstCommandInterpreter.moc"
