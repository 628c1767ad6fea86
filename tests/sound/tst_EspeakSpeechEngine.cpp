#include "sound/EspeakSpeechEngine.h"
#include "sound/GstAudio.h"
#include "sound/EspeakSynth.h"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdlib>

// The real engine: espeak-ng's Japanese voice, played on the fake audio sink
// (TAVELO_AUDIO_SINK=fake), which still runs in real time.
class tst_EspeakSpeechEngine : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;

    QString settingsPath() const { return m_config.filePath(QStringLiteral("voice.ini")); }

    static int peak(const std::vector<qint16> &samples)
    {
        int loudest = 0;
        for (const qint16 sample : samples) {
            loudest = std::max(loudest, std::abs(int(sample)));
        }
        return loudest;
    }

    static double seconds(const EspeakSynth &synth, const std::vector<qint16> &samples)
    {
        return double(samples.size()) / synth.sampleRate();
    }

private slots:
    void synthesisedSentenceIsAudibleAndOfPlausibleLength()
    {
        const std::unique_ptr<EspeakSynth> synth = EspeakSynth::create();
        QVERIFY2(synth, "espeak-ng with its Japanese voice must be installed");
        const QString sentence = QStringLiteral("ツギワ、エキマエデス。");
        const std::vector<qint16> normal = synth->synthesise(sentence);
        // Ten morae at a normal pace: about a second and a half.
        QVERIFY2(seconds(*synth, normal) > 0.7 && seconds(*synth, normal) < 3.0,
                 qPrintable(QString::number(seconds(*synth, normal))));
        QVERIFY(peak(normal) > 3000);

        // The voice settings reach the synthesiser.
        synth->setVoice({200, 100, 100});
        const std::vector<qint16> fast = synth->synthesise(sentence);
        QVERIFY(fast.size() < normal.size() * 3 / 4);
        synth->setVoice({100, 100, 50});
        QVERIFY(peak(synth->synthesise(sentence)) < peak(normal) * 3 / 4);
    }

    void speaksOnItsOwnChannel()
    {
        std::unique_ptr<EspeakSpeechEngine> engine = EspeakSpeechEngine::create(settingsPath());
        QVERIFY(engine);
        QVERIFY(engine->speak(QStringLiteral("次は、駅前です。")));
        QVERIFY(engine->isSpeaking());
        QTRY_VERIFY_WITH_TIMEOUT(!engine->isSpeaking(), 10000); // ends by itself

        // Stopping silences at once; a new text replaces the one speaking.
        QVERIFY(engine->speak(QStringLiteral("ご乗車ありがとうございます。")));
        QVERIFY(engine->speak(QStringLiteral("両替は停車中にお願いします。")));
        QVERIFY(engine->isSpeaking());
        engine->stop();
        QVERIFY(!engine->isSpeaking());

        // Nothing to say is no failure.
        QVERIFY(engine->speak(QString()));
        QVERIFY(!engine->isSpeaking());

        // Its pipeline goes with it, however many utterances it played.
        QCOMPARE(GstAudio::livePipelines(), 1);
        engine.reset();
        QCOMPARE(GstAudio::livePipelines(), 0);
    }

    void voiceSettingsAreKeptForTheNextRun()
    {
        {
            const std::unique_ptr<EspeakSpeechEngine> engine = EspeakSpeechEngine::create(settingsPath());
            QCOMPARE(engine->voiceSettings(), VoiceSettings());
            engine->setVoiceSettings({150, 80, 500});
            QCOMPARE(engine->voiceSettings(), VoiceSettings({150, 80, VoiceSettings::Maximum}));
        }
        const std::unique_ptr<EspeakSpeechEngine> engine = EspeakSpeechEngine::create(settingsPath());
        QCOMPARE(engine->voiceSettings(), VoiceSettings({150, 80, VoiceSettings::Maximum}));
    }
};

QTEST_GUILESS_MAIN(tst_EspeakSpeechEngine)
#include "tst_EspeakSpeechEngine.moc"
