#include "sound/CommandString.h"
#include "video/RecordingClock.h"
#include "video/RecordingTimeline.h"
#include "video/SoundTap.h"
#include "video/SoundTimeline.h"
#include "video/TimelineSound.h"
#include "video/TimelineSpeech.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include "ToneWav.h"

#include <QTest>

#include <vector>

namespace {

// Keeps what a recording hands over: whether each frame was lit, and the sound.
class RecordedMedia : public MediaSink
{
public:
    std::vector<bool> litFrames;
    std::vector<qint16> samples;

    bool pushFrame(const QImage &frame) override
    {
        litFrames.push_back(frame.pixel(0, 0) == qRgb(255, 255, 255));
        return true;
    }
    bool pushSamples(const qint16 *data, qsizetype count) override
    {
        samples.insert(samples.end(), data, data + count);
        return true;
    }
    // The first sample from `from` on that sounds; -1 for none.
    qint64 onsetFrom(qint64 from) const
    {
        for (size_t i = size_t(from); i < samples.size(); ++i) {
            if (samples[i] != 0) {
                return qint64(i);
            }
        }
        return -1;
    }
};

QString writeTone(const QString &path, int milliseconds)
{
    return writeSquareTone(path, VideoFormat::SampleRate, milliseconds);
}

} // namespace

class tst_RecordingTimeline : public QObject
{
    Q_OBJECT

private slots:
    void waitedSoundsFillFramesAndChangesMeetTheirSound();
    void channelsCutOffTheirOwnSoundAndMixClipped();
    void tapCopiesWhatPlaysOnlyWhileARecordingRuns();
};

// The program plays a step sound to its end, pauses, then changes the board
// and speaks: the frames go on while the sound plays, and the frame that
// first shows the change starts within one frame of the speech.
void tst_RecordingTimeline::waitedSoundsFillFramesAndChangesMeetTheirSound()
{
    QTemporaryDir dir;
    const QString tone = writeTone(dir.filePath(QStringLiteral("step.wav")), 510);
    QVERIFY(!tone.isEmpty());

    VideoFormat format;
    format.size = QSize(32, 16);
    format.fps = 30;
    RecordingClock clock;
    SoundTimeline sound;
    RecordedMedia media;
    bool changed = false;
    RecordingTimeline timeline(format, clock, sound, media, [&] {
        QImage frame(format.size, QImage::Format_RGB32);
        frame.fill(changed ? Qt::white : Qt::black);
        return frame;
    });
    TimelineSound channels(sound, clock);
    TimelineSpeechOutput speech(sound, clock, 24000);

    QCOMPARE(channels.send(QStringLiteral("open %1 type waveaudio alias R57S1").arg(CommandString::quoted(tone))), 0);
    QCOMPARE(channels.send(QStringLiteral("play R57S1 from 0 wait")), 0);
    QCOMPARE(clock.nowMs(), 510);
    channels.sleep(200);
    changed = true;
    speech.start();
    const std::vector<qint16> words(6000, 5000); // a quarter of a second
    speech.push(words.data(), int(words.size()));
    speech.finish();
    QVERIFY(speech.isPlaying());
    QVERIFY(timeline.runUntil(955));
    QVERIFY(speech.isPlaying());
    QVERIFY(timeline.runUntil(965));
    QVERIFY(!speech.isPlaying());
    QVERIFY(timeline.runUntil(1200));
    QVERIFY(timeline.finish());

    // Frames were painted while the step sound played and during the pause.
    QCOMPARE(qint64(media.litFrames.size()), format.firstFrameAtOrAfter(1200));
    QCOMPARE(qint64(media.samples.size()), format.samplesBefore(qint64(media.litFrames.size())));
    const auto firstLit = std::find(media.litFrames.cbegin(), media.litFrames.cend(), true) - media.litFrames.cbegin();
    QCOMPARE(media.onsetFrom(0), 0);
    // The step sound ends where it should; the speech comes after the pause.
    const qint64 stepEnd = TimelineSound::sampleAt(510);
    QVERIFY(media.samples.at(size_t(stepEnd - 1)) != 0);
    const qint64 speechOnset = media.onsetFrom(stepEnd);
    QVERIFY(qAbs(speechOnset - TimelineSound::sampleAt(710)) <= 48);
    const double frameMs = 1000.0 / format.fps;
    const double speechMs = speechOnset * 1000.0 / VideoFormat::SampleRate;
    QVERIFY2(qAbs(format.frameStartMs(firstLit) - speechMs) < frameMs,
             qPrintable(QStringLiteral("frame %1 at %2 ms, speech at %3 ms")
                            .arg(firstLit)
                            .arg(format.frameStartMs(firstLit))
                            .arg(speechMs)));
}

void tst_RecordingTimeline::channelsCutOffTheirOwnSoundAndMixClipped()
{
    SoundTimeline sound;
    const auto flat = [](int count, qint16 value) { return std::make_shared<const std::vector<qint16>>(count, value); };
    sound.place(QStringLiteral("s1"), 0, flat(100, 20000));
    sound.place(QStringLiteral("s2"), 50, flat(100, 20000));
    sound.place(QStringLiteral("s1"), 80, flat(10, -3000)); // cuts the first off at 80
    QCOMPARE(sound.endOf(QStringLiteral("s1")), 90);
    std::vector<qint16> out(200);
    sound.mix(200, out.data());
    QCOMPARE(out[10], qint16(20000));
    QCOMPARE(out[60], qint16(32767)); // clipped, not wrapped
    QCOMPARE(out[85], qint16(17000));
    QCOMPARE(out[95], qint16(20000));
    QCOMPARE(out[160], qint16(0));
    // Nothing lands behind what was mixed.
    sound.place(QStringLiteral("s3"), 10, flat(5, 1));
    sound.mix(5, out.data());
    QCOMPARE(out[0], qint16(1));
}

namespace {

// A player that plays nothing and remembers what it was told.
class SilentPlayer : public MultimediaCommands
{
public:
    QStringList commands;
    int send(const QString &command) override
    {
        commands << command;
        return 0;
    }
    void sleep(int) override {}
};

class SilentSpeech : public PcmOutput
{
public:
    int samples = 0;
    void start() override {}
    void push(const qint16 *, int count) override { samples += count; }
    void finish() override {}
    void stop() override {}
    bool isPlaying() const override { return false; }
};

} // namespace

// The player hears everything; the recording gets a copy, at the wall
// clock's time, of what plays while it is attached, and nothing after.
void tst_RecordingTimeline::tapCopiesWhatPlaysOnlyWhileARecordingRuns()
{
    QTemporaryDir dir;
    const QString tone = writeTone(dir.filePath(QStringLiteral("chime.wav")), 200);
    SilentPlayer player;
    SoundTap tap(player);
    auto *speechPlayer = new SilentSpeech;
    std::unique_ptr<PcmOutput> speech = tap.tapSpeech(std::unique_ptr<PcmOutput>(speechPlayer), 24000);
    const QString open = QStringLiteral("open %1 type waveaudio alias R57S2").arg(CommandString::quoted(tone));
    const std::vector<qint16> words(2400, 4000);

    SoundTimeline sound;
    RecordingClock clock;
    QElapsedTimer started;
    started.start();
    QTest::qWait(50);
    tap.attach(sound, clock, started);
    QCOMPARE(tap.send(open), 0);
    QCOMPARE(tap.send(QStringLiteral("play R57S2 from 0 wait")), 0);
    QVERIFY(clock.nowMs() >= 50);
    QCOMPARE(sound.endOf(QStringLiteral("r57s2")), TimelineSound::sampleAt(clock.nowMs() + 200));
    speech->start();
    speech->push(words.data(), int(words.size()));
    speech->finish();
    QVERIFY(sound.endOf(QString::fromLatin1(TimelineSpeechOutput::Channel)) > TimelineSound::sampleAt(clock.nowMs()));
    tap.detach();
    const qint64 end = sound.lastEnd();
    QCOMPARE(tap.send(QStringLiteral("play R57S2 from 0")), 0);
    speech->start();
    speech->push(words.data(), int(words.size()));
    speech->finish();
    QCOMPARE(sound.lastEnd(), end);
    QCOMPARE(player.commands.size(), 3);
    QCOMPARE(speechPlayer->samples, 4800);
}

QTEST_GUILESS_MAIN(tst_RecordingTimeline)
#include "tst_RecordingTimeline.moc"
