#include "mdlM_Tape.h"

#include "sound/ChimePlayer.h"
#include "sound/SoundLog.h"
#include "sound/SpeechEngine.h"
#include "sound/SpeechService.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString SpeechUsable = QStringLiteral("音合使用可");
const QString SpeechUnusable = QStringLiteral("音合使用不可");
const QString VoiceDialogTitle = QStringLiteral("音声の調節");

// The forward step's sound plays on "S3"; the backward step shares "S2" with
// the stepping sound of the fare display.
const QString ForwardChannel = QStringLiteral("S3");
const QString BackwardChannel = QStringLiteral("S2");

} // namespace

mdlM_Tape::mdlM_Tape(SpeechService *speech, ChimePlayer *chimes, std::function<TapeOptions()> options,
                     QObject *parent)
    : QObject(parent)
    , m_speech(speech)
    , m_chimes(chimes)
    , m_options(std::move(options))
    , m_groupCaption(SpeechUnusable)
{
}

mdlM_Tape::~mdlM_Tape() = default;

void mdlM_Tape::LoadTape(const QString &folder, const QString &routeNumber)
{
    // A failed load leaves no records behind: the group can be enabled again
    // by other means (clearing the display), and it must then find nothing
    // to speak rather than half a file or another route's announcements.
    m_tapeData.clear();
    m_english.clear();
    m_tapePos = 0;

    const TapeCsvContents contents = TapeCsv::readFile(TapeCsv::filePath(folder, routeNumber));
    const QString problem = contents.problemText();
    if (!problem.isEmpty()) {
        qCWarning(lcSound).noquote() << problem;
        setGroup(m_groupCaption, false, false, problem);
        return;
    }
    m_tapeData = contents.records;
    loadEnglish(TapeCsv::englishFilePath(folder, routeNumber));
    if (m_engine) {
        m_engine->setDictionaryFolder(folder);
        setGroup(m_groupCaption, true, true, QString());
    } else {
        setGroup(m_groupCaption, m_groupEnabled, m_buttonsEnabled, QString());
    }
}

void mdlM_Tape::loadEnglish(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        return;
    }
    const TapeCsvContents english = TapeCsv::readFile(path);
    if (const QString problem = english.problemText(); !problem.isEmpty()) {
        qCWarning(lcSound).noquote() << problem << QStringLiteral("（英語放送なし）");
        return;
    }
    if (english.records.size() != m_tapeData.size()) {
        qCWarning(lcSound).noquote() << QStringLiteral("%1: 放送文が %2 行あり、放送データの %3 行と合わないため、英語放送は使いません")
                                            .arg(QDir::toNativeSeparators(path))
                                            .arg(english.records.size())
                                            .arg(m_tapeData.size());
        return;
    }
    for (const TapeRecord &record : english.records) {
        m_english << record.Text;
    }
}

void mdlM_Tape::TapeNext()
{
    ++m_tapePos;
    if (m_tapePos > GetTapeCount()) {
        m_tapePos = GetTapeCount();
        return;
    }
    const TapeOptions options = m_options();
    playSoundBefore(options.soundAlways ? options.alwaysSound : flagSound(options, m_tapePos), ForwardChannel,
                    options.waitForSound);
    SpeakTape(m_tapePos);
}

void mdlM_Tape::TapeSkip()
{
    m_tapePos = qMin(m_tapePos + 1, GetTapeCount());
}

void mdlM_Tape::TapeBack()
{
    --m_tapePos;
    if (m_tapePos < 1) {
        m_tapePos = 1;
        return;
    }
    // The backward step chooses by the record's flag even when the options
    // say to always play one sound.
    const TapeOptions options = m_options();
    playSoundBefore(flagSound(options, m_tapePos), BackwardChannel, options.waitForSound);
    SpeakTape(m_tapePos);
}

QString mdlM_Tape::flagSound(const TapeOptions &options, qint32 pos) const
{
    const qint16 flag = GetTapeSoundFlag(pos);
    return flag >= 1 && flag <= 3 ? options.flagSounds.at(flag - 1) : QString();
}

void mdlM_Tape::playSoundBefore(const QString &file, const QString &channel, bool wait)
{
    // The previous announcement must not talk over the sound of the next.
    StopTape();
    if (m_chimes && !file.isEmpty()) {
        m_chimes->play(file, channel, wait);
    }
}

qint16 mdlM_Tape::GetTapeStepFlag(qint32 pos) const
{
    return pos >= 1 && pos <= GetTapeCount() ? m_tapeData.at(pos - 1).StepFlag : 0;
}

qint16 mdlM_Tape::GetTapeSoundFlag(qint32 pos) const
{
    return pos >= 1 && pos <= GetTapeCount() ? m_tapeData.at(pos - 1).SoundFlag : 0;
}

QString mdlM_Tape::GetTapeText(qint32 pos) const
{
    return pos >= 1 && pos <= GetTapeCount() ? m_tapeData.at(pos - 1).Text : QString();
}

void mdlM_Tape::SpeakTape(qint32 pos)
{
    if (!m_engine || pos < 1 || pos > GetTapeCount()) {
        return;
    }
    m_engine->stop();
    const QString english = m_options().english ? englishText(pos) : QString();
    if (!m_engine->speakWithEnglish(m_tapeData.at(pos - 1).Text, english)) {
        m_engine->stop();
    }
}

void mdlM_Tape::StopTape()
{
    if (m_engine) {
        m_engine->stop();
    }
}

void mdlM_Tape::ShowVoiceDialog(QWidget *owner)
{
    if (m_speech && m_engine) {
        m_speech->showVoiceDialog(*m_engine, owner, VoiceDialogTitle);
    }
}

void mdlM_Tape::InitSpeech()
{
    m_engine = m_speech ? m_speech->createEngine() : nullptr;
    if (m_engine) {
        setGroup(SpeechUsable, true, m_buttonsEnabled, m_loadProblem);
    } else {
        setGroup(SpeechUnusable, false, m_buttonsEnabled, m_loadProblem);
    }
}

void mdlM_Tape::ReleaseSpeech()
{
    m_engine.reset();
}

void mdlM_Tape::setGroup(const QString &caption, bool groupEnabled, bool buttonsEnabled, const QString &loadProblem)
{
    if (caption == m_groupCaption && groupEnabled == m_groupEnabled && buttonsEnabled == m_buttonsEnabled
        && loadProblem == m_loadProblem) {
        return;
    }
    m_groupCaption = caption;
    m_groupEnabled = groupEnabled;
    m_buttonsEnabled = buttonsEnabled;
    m_loadProblem = loadProblem;
    emit groupChanged();
}
