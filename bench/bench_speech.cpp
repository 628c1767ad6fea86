// From an announcement step to the first sample of its speech reaching the
// audio output, for a sentence of about forty characters. Target: 150 ms
// (median). Also how many names of a list of hard ones (speech_names.txt) are
// read right. Target: 80 %. Exits non-zero when either is missed.

#include "MedianTarget.h"

#include "formats/Cp932.h"
#include "sound/EspeakSpeechEngine.h"
#include "sound/KanaReader.h"
#include "sound/KanaText.h"
#include "sound/KanjiReadings.h"
#include "sound/MecabTagger.h"
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
constexpr double TargetAccuracy = 80.0;

// Kana as they are said, so that a name written コウ or ヂャ in the list
// and read コー or ジャ counts as the same.
QString said(const QString &katakana)
{
    QString result = katakana;
    for (qsizetype i = 0; i < result.size(); ++i) {
        const QChar vowel = i > 0 ? KanaText::vowelOf(result.at(i - 1)) : QChar();
        if ((result.at(i) == u'ウ' && (vowel == u'オ' || vowel == u'ウ'))
            || (result.at(i) == u'イ' && (vowel == u'エ' || vowel == u'イ'))) {
            result[i] = u'ー';
        } else if (result.at(i) == u'ヂ') {
            result[i] = u'ジ';
        } else if (result.at(i) == u'ヅ') {
            result[i] = u'ズ';
        }
    }
    return result;
}

// Reads the list through the reader the program speaks with; prints the
// names read wrong and the share read right.
bool readingAccuracy()
{
    QFile file(QStringLiteral(SPEECH_NAMES));
    const std::unique_ptr<MecabTagger> tagger = MecabTagger::create();
    if (!tagger || !file.open(QIODevice::ReadOnly)) {
        std::fputs("bench_speech: no MeCab or no list of names\n", stderr);
        return false;
    }
    const KanjiReadings kanji = KanjiReadings::load();
    KanaReader reader(*tagger, kanji);
    reader.setDictionary(ReadingDictionary::forFolder(QString()));
    int names = 0;
    int right = 0;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const qsizetype comma = line.lastIndexOf(u',');
        if (line.startsWith(u'#') || comma < 0) {
            continue;
        }
        const QString reading = reader.reading(line.left(comma));
        ++names;
        if (said(reading) == said(line.mid(comma + 1).trimmed())) {
            ++right;
        } else {
            std::printf("  %s: read %s\n", qUtf8Printable(line), qUtf8Printable(reading));
        }
    }
    const double accuracy = names > 0 ? 100.0 * right / names : 0.0;
    std::printf("Hard names read right: %d of %d, %.0f %% (target %.0f %%): %s\n", right, names, accuracy,
                TargetAccuracy, accuracy >= TargetAccuracy ? "met" : "MISSED");
    return accuracy >= TargetAccuracy;
}

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
    const bool accurate = readingAccuracy();
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
    const bool fast = medianMeets("TapeNext to first speech sample", latencies, TargetMs);
    return fast && accurate ? 0 : 1;
}
