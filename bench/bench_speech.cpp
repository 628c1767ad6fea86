// From an announcement step to the first sample of its speech reaching the
// audio output, for a sentence of about forty characters. Target: 150 ms
// (median). Exits non-zero when it is missed.

#include "MedianTarget.h"

#include "companion/Cp932.h"
#include "sound/EspeakSpeechEngine.h"
#include "sound/SpeechService.h"
#include "sound/VoiceSettings.h"
#include "sound/mdlM_Tape.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const QString Sentence = QStringLiteral("次は、市民病院前、市民病院前です。お降りの方は、お近くの降車ボタンを押してください。");
constexpr int Steps = 20;
constexpr double TargetMs = 150.0;

// Makes the real engine and notes when its first sample is played.
class TimedSpeechService : public SpeechService
{
public:
    explicit TimedSpeechService(const QString &settingsPath)
        : m_settingsPath(settingsPath)
    {
    }

    std::atomic<Clock::rep> firstSample{0};

    std::unique_ptr<SpeechEngine> createEngine() override
    {
        std::unique_ptr<EspeakSpeechEngine> engine = EspeakSpeechEngine::create(m_settingsPath);
        if (engine) {
            engine->setFirstSampleObserver([this] { firstSample = Clock::now().time_since_epoch().count(); });
        }
        return engine;
    }
    void showVoiceDialog(SpeechEngine &, QWidget *, const QString &) override {}

private:
    QString m_settingsPath;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("1tp.csv")));
    if (!file.open(QIODevice::WriteOnly)) {
        return 2;
    }
    for (int i = 0; i < Steps; ++i) {
        file.write(Cp932::encode(Sentence) + ",0,0\r\n");
    }
    file.close();

    TimedSpeechService speech(dir.filePath(QStringLiteral("voice.ini")));
    mdlM_Tape tape(&speech, nullptr, [] { return TapeOptions(); });
    tape.InitSpeech();
    if (!tape.SpeechAvailable()) {
        std::fputs("bench_speech: no speech engine on this machine\n", stderr);
        return 2;
    }
    tape.LoadTape(dir.path() + QStringLiteral("/"), QStringLiteral("1"));

    std::vector<double> latencies;
    for (int i = 0; i < Steps; ++i) {
        speech.firstSample = 0;
        const Clock::time_point start = Clock::now();
        tape.TapeNext();
        QElapsedTimer waited;
        waited.start();
        while (speech.firstSample == 0 && waited.elapsed() < 2000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        if (speech.firstSample == 0) {
            std::fputs("bench_speech: no sample was played\n", stderr);
            return 1;
        }
        const Clock::time_point played{Clock::duration(speech.firstSample.load())};
        latencies.push_back(std::chrono::duration<double, std::milli>(played - start).count());
    }
    tape.StopTape();

    std::printf("TapeNext to first speech sample, %lld characters, %d steps: the first %.1f ms\n",
                static_cast<long long>(Sentence.size()), Steps, latencies.front());
    return medianMeets("TapeNext to first speech sample", latencies, TargetMs) ? 0 : 1;
}
