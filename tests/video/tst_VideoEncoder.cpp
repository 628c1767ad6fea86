#include "video/VideoEncoder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <vector>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Pushes `seconds` of moving colour and a tone.
bool pushClip(VideoEncoder &encoder, int seconds)
{
    const VideoFormat &format = encoder.format();
    const qint64 frames = qint64(seconds) * format.fps;
    for (qint64 n = 0; n < frames; ++n) {
        QImage frame(format.size, QImage::Format_RGB32);
        frame.fill(QColor::fromHsv(int(n * 7 % 360), 200, 220));
        const qint64 from = format.samplesBefore(n);
        std::vector<qint16> tone(size_t(format.samplesBefore(n + 1) - from));
        for (size_t i = 0; i < tone.size(); ++i) {
            tone[i] = qint16(8000 * std::sin(2 * M_PI * 440 * double(from + qint64(i)) / VideoFormat::SampleRate));
        }
        if (!encoder.pushFrame(frame) || !encoder.pushSamples(tone.data(), qsizetype(tone.size()))) {
            return false;
        }
    }
    return true;
}

} // namespace

class tst_VideoEncoder : public QObject
{
    Q_OBJECT

private slots:
    void refusedOrUnfinishedRenderLeavesNoFile();
    void shortEncodeGivesTheContainersStreams_data();
    void shortEncodeGivesTheContainersStreams();
};

void tst_VideoEncoder::refusedOrUnfinishedRenderLeavesNoFile()
{
    QTemporaryDir dir;
    VideoFormat format;
    format.size = QSize(64, 32);
    QString error;

    QVERIFY(!VideoEncoder::open(dir.filePath(QStringLiteral("run.avi")), format, &error));
    QVERIFY2(error.contains(QStringLiteral(".webm")), qPrintable(error));

    // A link where the video goes is never written through.
    const QString target = dir.filePath(QStringLiteral("precious.txt"));
    QVERIFY(writeFile(target, "keep"));
    QVERIFY(QFile::link(target, dir.filePath(QStringLiteral("link.mp4"))));
    QVERIFY(!VideoEncoder::open(dir.filePath(QStringLiteral("link.mp4")), format, &error));
    QVERIFY2(error.contains(QStringLiteral("link.mp4")), qPrintable(error));
    QCOMPARE(contents(target), QByteArray("keep"));

    // A render that does not finish keeps the old file and leaves nothing beside it.
    const QString out = dir.filePath(QStringLiteral("run.mp4"));
    QVERIFY(writeFile(out, "old video"));
    {
        std::unique_ptr<VideoEncoder> encoder = VideoEncoder::open(out, format, &error);
        QVERIFY2(encoder, qPrintable(error));
        QVERIFY(pushClip(*encoder, 1));
    }
    QCOMPARE(contents(out), QByteArray("old video"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(), 3);
}

void tst_VideoEncoder::shortEncodeGivesTheContainersStreams_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("streams");
    QTest::newRow("mp4") << "run.mp4" << "video,h264;audio,aac";
    QTest::newRow("webm") << "run.webm" << "video,vp9;audio,opus";
    QTest::newRow("mkv") << "run.mkv" << "video,h264;audio,opus";
}

// The file replaces the one before only once it is complete, and a player's
// probe finds both streams at their length.
void tst_VideoEncoder::shortEncodeGivesTheContainersStreams()
{
    QFETCH(QString, name);
    QFETCH(QString, streams);
    const QString ffprobe = QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
    if (ffprobe.isEmpty()) {
        QSKIP("ffprobe is not installed: the streams cannot be checked");
    }
    QTemporaryDir dir;
    const QString out = dir.filePath(name);
    QVERIFY(writeFile(out, "old video"));
    VideoFormat format;
    format.size = QSize(96, 32);
    format.fps = 10;
    QString error;
    std::unique_ptr<VideoEncoder> encoder = VideoEncoder::open(out, format, &error);
    QVERIFY2(encoder, qPrintable(error));
    QVERIFY(pushClip(*encoder, 2));
    QCOMPARE(contents(out), QByteArray("old video"));
    QVERIFY2(encoder->finish(), qPrintable(encoder->errorString()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    QProcess probe;
    probe.start(ffprobe, {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                          QStringLiteral("stream=codec_type,codec_name:format=duration"), QStringLiteral("-of"),
                          QStringLiteral("compact=p=0:nk=1"), out});
    QVERIFY(probe.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(probe.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList found;
    double duration = 0;
    for (const QString &line : lines) {
        const QStringList fields = line.split(QLatin1Char('|'));
        if (fields.size() == 2) {
            found << fields.at(1) + QLatin1Char(',') + fields.at(0);
        } else {
            duration = line.toDouble();
        }
    }
    found.sort();
    QStringList expected = streams.split(QLatin1Char(';'));
    expected.sort();
    QCOMPARE(found, expected);
    QVERIFY2(duration > 1.8 && duration < 2.3, qPrintable(QString::number(duration)));
}

QTEST_GUILESS_MAIN(tst_VideoEncoder)
#include "tst_VideoEncoder.moc"
