#pragma once

#include "sound/ChimePlayer.h"
#include "sound/SpeechEngine.h"
#include "sound/SpeechService.h"

#include <QStringList>

// Test doubles of the speech and the sound channels. They write what they
// were asked into one shared log, so that a test sees the order of events:
// "stop", "speak 次は…", "play a.wav S3 wait", "dialog 音声の調節".
class FakeSpeechEngine : public SpeechEngine
{
public:
    explicit FakeSpeechEngine(QStringList &log)
        : m_log(log)
    {
    }

    bool speakSucceeds = true;
    VoiceSettings voice;
    QString dictionaryFolder;

    bool speak(const QString &text) override
    {
        m_log << QStringLiteral("speak ") + text;
        m_speaking = speakSucceeds;
        return speakSucceeds;
    }
    bool speakWithEnglish(const QString &text, const QString &english) override
    {
        return english.isEmpty() ? speak(text) : speak(text + QStringLiteral(" / ") + english);
    }
    void stop() override
    {
        m_log << QStringLiteral("stop");
        m_speaking = false;
    }
    bool isSpeaking() const override { return m_speaking; }
    VoiceSettings voiceSettings() const override { return voice; }
    void setVoiceSettings(const VoiceSettings &settings) override
    {
        m_log << QStringLiteral("voice %1 %2 %3").arg(settings.rate).arg(settings.pitch).arg(settings.volume);
        voice = settings;
    }
    void setDictionaryFolder(const QString &folder) override { dictionaryFolder = folder; }

private:
    QStringList &m_log;
    bool m_speaking = false;
};

class FakeSpeechService : public SpeechService
{
public:
    explicit FakeSpeechService(QStringList &log)
        : m_log(log)
    {
    }

    // False: the machine has no engine.
    bool engineAvailable = true;
    // The engine most recently made, owned by whoever asked for it.
    FakeSpeechEngine *lastEngine = nullptr;
    QWidget *lastDialogOwner = nullptr;

    std::unique_ptr<SpeechEngine> createEngine() override
    {
        if (!engineAvailable) {
            return nullptr;
        }
        auto engine = std::make_unique<FakeSpeechEngine>(m_log);
        lastEngine = engine.get();
        return engine;
    }
    void showVoiceDialog(SpeechEngine &, QWidget *owner, const QString &title) override
    {
        m_log << QStringLiteral("dialog ") + title;
        lastDialogOwner = owner;
    }

private:
    QStringList &m_log;
};

class FakeChimePlayer : public ChimePlayer
{
public:
    explicit FakeChimePlayer(QStringList &log)
        : m_log(log)
    {
    }

    void play(const QString &file, const QString &channel, bool wait) override
    {
        m_log << QStringLiteral("play %1 %2 %3").arg(file, channel, wait ? QStringLiteral("wait") : QStringLiteral("async"));
    }

private:
    QStringList &m_log;
};
