#pragma once

#include "sound/VoiceSettings.h"

#include <QDialog>

class QGridLayout;
class QSlider;
class SpeechEngine;

// The voice settings dialog: speaking rate, pitch and volume, with a button
// that speaks a sample sentence with the values on the sliders. OK keeps the
// values (the engine stores them), Cancel puts the old ones back.
class VoiceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit VoiceDialog(SpeechEngine &engine, QWidget *owner = nullptr);

    VoiceSettings chosenSettings() const;
    void setChosenSettings(const VoiceSettings &settings);

    // Speaks the sample sentence with the values on the sliders.
    void tryVoice();

    void accept() override;
    void reject() override;

private:
    QSlider *addSlider(QGridLayout &grid, const QString &caption);

    SpeechEngine &m_engine;
    const VoiceSettings m_original;
    QSlider *m_rate = nullptr;
    QSlider *m_pitch = nullptr;
    QSlider *m_volume = nullptr;
};
