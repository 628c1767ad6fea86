// What a long day of sound costs: 1,000 WAV stepping sounds, 200 MIDI
// jingles and 100 announcements, each kind measured from its first play on.
// Threads, open files and resident memory must stay flat.
//
// Runs with TAVELO_AUDIO_SINK=fakesink: the sounds play as fast as they
// decode instead of in real time, so that the day takes seconds. Memory is
// judged by the heap in use and by the resident size 3 s after the sounds
// close, which also shows freed memory that glibc keeps: the program itself
// must give that back, the benchmark does not trim.

#include "sound/EspeakSpeechEngine.h"
#include "sound/GstAudio.h"
#include "sound/GstCommandInterpreter.h"
#include "sound/mdlSndAPI.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <functional>
#include <malloc.h>

namespace {

// What may differ with the threads that GStreamer's pools keep for reuse.
constexpr int ThreadSlack = 2;
// A pipeline that is not freed keeps tens of kilobytes; what GLib and
// GStreamer cache once is far less than this over a hundred plays.
constexpr double HeapSlackPerPlayKb = 1.0;
constexpr long ResidentSlackKb = 16384; // freed memory glibc still keeps once the program has trimmed

struct Usage
{
    int threads = 0;
    int openFiles = 0;
    long heapKb = 0;
    long residentKb = 0;
};

long statusField(const QByteArray &status, const char *name)
{
    for (const QByteArray &line : status.split('\n')) {
        if (line.startsWith(name)) {
            return line.mid(qstrlen(name)).trimmed().split(' ').first().toLong();
        }
    }
    return 0;
}

// After a pause in which closed pipelines finish winding down and the idle
// threads of GStreamer's thread pools end.
Usage measure()
{
    for (int i = 0; i < 30; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(100);
    }
    QFile file(QStringLiteral("/proc/self/status"));
    file.open(QIODevice::ReadOnly);
    const QByteArray status = file.readAll();
    file.close();
    Usage usage;
    usage.threads = int(statusField(status, "Threads:"));
    usage.residentKb = statusField(status, "VmRSS:");
    usage.heapKb = long(mallinfo2().uordblks / 1024);
    usage.openFiles = int(QDir(QStringLiteral("/proc/self/fd"))
                              .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                              .size());
    return usage;
}

// Plays once, measures, plays `count` - 1 more times and prints the growth.
// `close` ends what is playing, as the end of a day does.
bool growth(const char *what, int count, const std::function<void(int)> &play, const std::function<void()> &close)
{
    play(0);
    close();
    const Usage before = measure();
    for (int i = 1; i < count; ++i) {
        play(i);
    }
    close();
    const Usage after = measure();
    const int threads = after.threads - before.threads;
    const int files = after.openFiles - before.openFiles;
    const long heap = after.heapKb - before.heapKb;
    const double heapPerPlay = double(heap) / (count - 1);
    const long resident = after.residentKb - before.residentKb;
    const bool flat = threads <= ThreadSlack && files <= 0 && heapPerPlay <= HeapSlackPerPlayKb
        && resident <= ResidentSlackKb && GstAudio::livePipelines() <= 1;
    std::printf("%5d %-14s threads %+3d  open files %+4d  heap %+7ld kB (%.1f kB a play)  resident %+7ld kB  "
                "live pipelines %d  %s\n",
                count, what, threads, files, heap, heapPerPlay, resident,
                GstAudio::livePipelines(), flat ? "flat" : "GROWS");
    return flat;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString samples = QStringLiteral(TAVELO_SAMPLES_DIR "/sound/");
    GstCommandInterpreter multimedia;
    mdlSndAPI sound(multimedia, QStringLiteral("R57"));

    // As stepping plays them: every other sound is cut off by the next one.
    auto stepping = [&sound](const QString &file) {
        return [&sound, file](int i) { sound.PlaySnd(file, QStringLiteral("S2"), i % 2 == 0); };
    };
    auto closeAll = [&sound] { sound.CloseAllSnd(); };
    bool flat = growth("WAV plays", 1000, stepping(samples + QStringLiteral("step.wav")), closeAll);
    flat = growth("MIDI plays", 200, stepping(samples + QStringLiteral("jingle.mid")), closeAll) && flat;

    QTemporaryDir settings;
    const std::unique_ptr<EspeakSpeechEngine> speech =
        EspeakSpeechEngine::create(settings.filePath(QStringLiteral("voice.ini")));
    if (!speech) {
        std::printf("no speech engine: announcements not measured\n");
        return 1;
    }
    flat = growth("announcements", 100,
                  [&speech](int i) {
                      speech->speak(QStringLiteral("次は、駅前です。"));
                      // Every other one is cut off by the next step.
                      while (i % 2 == 0 && speech->isSpeaking()) {
                          QThread::msleep(1);
                      }
                  },
                  [&speech] { speech->stop(); })
        && flat;
    return flat ? 0 : 1;
}
