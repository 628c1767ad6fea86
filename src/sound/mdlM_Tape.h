#pragma once

#include "formats/TapeCsv.h"
#include "sound/TapeOptions.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class ChimePlayer;
class QWidget;
class SpeechEngine;
class SpeechService;

// The announcements of the current route (放送; named after the tape that
// once held them): loads the route's announcement file and steps through it,
// playing the chosen sound and then speaking each announcement. It also
// keeps the state of the control panel's announcement group, which the panel
// shows.
class mdlM_Tape : public QObject
{
    Q_OBJECT

public:
    // `speech` and `chimes` may be null: no engine, no sounds. `options` is
    // asked at every step, so changed options apply at once.
    mdlM_Tape(SpeechService *speech, ChimePlayer *chimes, std::function<TapeOptions()> options,
              QObject *parent = nullptr);
    ~mdlM_Tape() override;

    // Reads "<folder><routeNumber>tp.csv". A file that is missing or holds
    // a line that cannot be read leaves no announcements and disables the
    // group; no message interrupts the caller, who goes on. Why is kept in
    // loadProblem() and logged. The English lines of "<routeNumber>tp.en.csv"
    // beside it are read too when it is there; one that cannot be read, or
    // that has not a line for every announcement, gives none (logged).
    void LoadTape(const QString &folder, const QString &routeNumber);

    // The next and the previous announcement, with its sound first. Beyond
    // the last record or before the first one nothing is played or spoken.
    void TapeNext();
    void TapeBack();
    // The next record passed over: the position moves on without a sound
    // or words (an announcement the bus has already driven past).
    void TapeSkip();

    qint32 GetTapePos() const { return m_tapePos; }
    qint32 GetTapeCount() const { return static_cast<qint32>(m_tapeData.size()); }
    // The flags of record `pos` (1-based); 0 outside the records.
    qint16 GetTapeStepFlag(qint32 pos) const;
    qint16 GetTapeSoundFlag(qint32 pos) const;
    // The words of record `pos`; empty outside the records.
    QString GetTapeText(qint32 pos) const;
    // Its English line; empty when it has none or the route no English file.
    QString englishText(qint32 pos) const { return pos >= 1 ? m_english.value(pos - 1) : QString(); }

    void SpeakTape(qint32 pos);
    void StopTape();
    // The voice dialog "音声の調節", owned by `owner`.
    void ShowVoiceDialog(QWidget *owner);

    // Starts the speech engine and sets the group's caption from the result.
    void InitSpeech();
    void ReleaseSpeech();
    bool SpeechAvailable() const { return m_engine != nullptr; }
    // The engine in use, null when none; for measuring.
    SpeechEngine *engine() const { return m_engine.get(); }

    // The announcement group: "音合使用可" or "音合使用不可", the group
    // itself, and its four buttons (usable once a route's file is loaded).
    QString groupCaption() const { return m_groupCaption; }
    bool groupEnabled() const { return m_groupEnabled; }
    bool buttonsEnabled() const { return m_buttonsEnabled; }
    // Why the last route's announcements could not be loaded (the file, the
    // line and what is wrong); empty when they were.
    QString loadProblem() const { return m_loadProblem; }

signals:
    // The caption, the enabled state of the group or its buttons, or the
    // load problem changed.
    void groupChanged();

private:
    void loadEnglish(const QString &path);
    void playSoundBefore(const QString &file, const QString &channel, bool wait);
    QString flagSound(const TapeOptions &options, qint32 pos) const;
    void setGroup(const QString &caption, bool groupEnabled, bool buttonsEnabled, const QString &loadProblem);

    SpeechService *m_speech;
    ChimePlayer *m_chimes;
    std::function<TapeOptions()> m_options;
    std::unique_ptr<SpeechEngine> m_engine;

    QList<TapeRecord> m_tapeData;
    QStringList m_english; // a line for each record, or none
    qint32 m_tapePos = 0;

    QString m_groupCaption;
    bool m_groupEnabled = false;
    bool m_buttonsEnabled = false;
    QString m_loadProblem;
};
