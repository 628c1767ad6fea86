#include "fare/FareFiles.h"

#include "fare/BusOperation.h"
#include "video/RecordingClock.h"
#include "video/RecordingTimeline.h"
#include "video/SoundTimeline.h"
#include "video/TimelineSound.h"
#include "video/TimetableScript.h"

#include <QFile>
#include <QTemporaryDir>
#include "ToneWav.h"

#include <QTest>

#include <vector>

namespace {

// Five stops a minute apart: leaving 07:00 to 07:03, arriving 07:04.
const char *const Source = R"({"format": "tavelo-route", "version": 1, "route": "6",
 "fareRule": {"kind": "flat", "fare": 200},
 "stops": [{"name": "駅前"}, {"name": "上町"}, {"name": "中町"}, {"name": "下町"}, {"name": "終点"}],
 "trips": [{"id": "T1", "headsign": "終点行き", "service": {"id": "毎日"},
   "times": [{"departure": "07:00:00"}, {"departure": "07:01:00"}, {"departure": "07:02:00"},
             {"departure": "07:03:00"}, {"arrival": "07:04:00"}]}]})";

// Keeps which stop each frame shows (painted as its grey level) and the sound.
class RecordedMedia : public MediaSink
{
public:
    std::vector<int> stops;
    std::vector<qint16> samples;
    bool pushFrame(const QImage &frame) override
    {
        stops.push_back(qGray(frame.pixel(0, 0)));
        return true;
    }
    bool pushSamples(const qint16 *data, qsizetype count) override
    {
        samples.insert(samples.end(), data, data + count);
        return true;
    }
};

QString writeTone(const QString &path, int milliseconds)
{
    return writeSquareTone(path, VideoFormat::SampleRate, milliseconds);
}

} // namespace

class tst_TimetableScript : public QObject
{
    Q_OBJECT

private slots:
    void stopsWaitForTheirSoundAndShowWithIt();
};

// At 600 times a minute between stops is 100 ms of video, a stepping sound
// 1.5 s: each departure waits until the sound before it has ended, so the
// sounds play whole, and the frame that first shows a stop starts within a
// frame of that stop's sound.
void tst_TimetableScript::stopsWaitForTheirSoundAndShowWithIt()
{
    QTemporaryDir dir;
    QVERIFY(FareFiles::writeStops(dir.filePath("6.hy3"), 5));
    QVERIFY(FareFiles::write(dir.filePath("6.route.json"), QByteArray(Source)));
    const QString tone = writeTone(dir.filePath("step.wav"), 1500);
    QVERIFY(!tone.isEmpty());

    VideoFormat format;
    format.size = QSize(16, 16);
    format.fps = 30;
    RecordingClock clock;
    SoundTimeline sound;
    TimelineSound channels(sound, clock);
    OptionInfo options;
    options.Folder.FareDataDir = dir.path() + QLatin1Char('/');
    options.Folder.TapeDataDir = dir.path() + QLatin1Char('/');
    options.Sound.StepSndAlways = -1;
    options.Sound.StepSndFile = tone;
    BusOperation::Services services;
    services.sound = &channels;
    services.options = [&options] { return options; };
    BusOperation bus(services);
    RecordedMedia media;
    RecordingTimeline timeline(format, clock, sound, media, [&] {
        QImage frame(format.size, QImage::Format_RGB32);
        frame.fill(QColor(bus.route().currentStop(), bus.route().currentStop(), bus.route().currentStop()));
        return frame;
    });
    TimetableScript script(bus, sound, clock, timeline, format.fps, "6", "1", "T1", 600, std::nullopt, std::nullopt);
    QCOMPARE(script.start(), QString());
    while (!script.finished() && clock.nowMs() < 60000) {
        timeline.runUntil(format.frameStartMs(timeline.frames() + 1));
        script.tick();
    }
    QVERIFY(script.finished());
    QVERIFY(timeline.finish());

    const double frameMs = 1000.0 / format.fps;
    qint64 lastOnset = -1;
    for (int stop = 2; stop <= 5; ++stop) {
        const auto shown = std::find(media.stops.cbegin(), media.stops.cend(), stop);
        QVERIFY2(shown != media.stops.cend(), qPrintable(QString::number(stop)));
        const qint64 frame = shown - media.stops.cbegin();
        // The sound of this step: the first sample after the one before ended.
        const qint64 from = lastOnset < 0 ? 0 : lastOnset + TimelineSound::sampleAt(1500);
        qint64 onset = from;
        while (onset < qint64(media.samples.size()) && media.samples[size_t(onset)] == 0) {
            ++onset;
        }
        QVERIFY(onset < qint64(media.samples.size()));
        const double onsetMs = onset * 1000.0 / VideoFormat::SampleRate;
        QVERIFY2(qAbs(format.frameStartMs(frame) - onsetMs) < frameMs,
                 qPrintable(QStringLiteral("stop %1: frame at %2 ms, sound at %3 ms").arg(stop).arg(format.frameStartMs(frame)).arg(onsetMs)));
        if (lastOnset >= 0) {
            // Whole: the sound before sounded to its end, and this one waited for it.
            QVERIFY(onset - lastOnset >= TimelineSound::sampleAt(1500));
        }
        lastOnset = onset;
    }
}

QTEST_GUILESS_MAIN(tst_TimetableScript)
#include "tst_TimetableScript.moc"
