#pragma once

#include <QString>

#include <memory>

class QWidget;
class SpeechEngine;

// The platform's speech: makes the engine and shows its voice dialog.
class SpeechService
{
public:
    virtual ~SpeechService() = default;

    // Null when no engine can start on this machine.
    virtual std::unique_ptr<SpeechEngine> createEngine() = 0;

    // The engine's modal voice settings dialog, owned by `owner`.
    virtual void showVoiceDialog(SpeechEngine &engine, QWidget *owner, const QString &title) = 0;
};
