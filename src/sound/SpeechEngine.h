#pragma once

#include "sound/VoiceSettings.h"

#include <QString>

// Speaks Japanese text on a channel of its own. One announcement at a time:
// speaking a new text silences the one before.
class SpeechEngine
{
public:
    virtual ~SpeechEngine() = default;

    // Starts speaking and returns at once. False when the text could not be
    // turned into speech.
    virtual bool speak(const QString &text) = 0;
    // Speaks `text` and then, after a short pause, its English line
    // `english` with an English voice, as one announcement (stop() ends
    // both). An engine without English speaks the Japanese alone.
    virtual bool speakWithEnglish(const QString &text, const QString &english)
    {
        Q_UNUSED(english);
        return speak(text);
    }
    virtual void stop() = 0;
    virtual bool isSpeaking() const = 0;

    virtual VoiceSettings voiceSettings() const = 0;
    // Takes effect from the next text spoken, and is kept for the next run.
    virtual void setVoiceSettings(const VoiceSettings &settings) = 0;

    // The folder of the announcement data: its reading dictionary, when it
    // has one, corrects the readings of the built-in one.
    virtual void setDictionaryFolder(const QString &folder) = 0;
};
