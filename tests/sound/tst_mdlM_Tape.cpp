#include "FakeSpeech.h"

#include "formats/Cp932.h"
#include "sound/mdlM_Tape.h"

#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Stepping through a route's announcements with a fake engine and fake
// sound channels.
class tst_mdlM_Tape : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QStringList m_log;
    FakeSpeechService m_speech{m_log};
    FakeChimePlayer m_chimes{m_log};
    TapeOptions m_options;

    std::unique_ptr<mdlM_Tape> makeTape(SpeechService *speech = nullptr)
    {
        auto tape = std::make_unique<mdlM_Tape>(speech ? speech : &m_speech, &m_chimes,
                                                [this] { return m_options; });
        tape->InitSpeech();
        return tape;
    }

    QString folder() const { return m_dir.path() + "/"; }

    void writeRoute(const QString &route, const QStringList &lines)
    {
        QFile file(folder() + route + "tp.csv");
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (const QString &line : lines) {
            file.write(Cp932::encode(line) + "\r\n");
        }
    }

    // Records: text, step flag, sound flag.
    void writeThreeRecords()
    {
        writeRoute("12", {"一,1,1", "二,0,2", "三,1,4"});
    }

private slots:
    void init()
    {
        m_log.clear();
        m_options = TapeOptions();
        m_options.alwaysSound = "always.wav";
        m_options.flagSounds = {"one.wav", "two.wav", "three.wav"};
    }

    void groupFollowsEngineAndData()
    {
        FakeSpeechService noEngine(m_log);
        noEngine.engineAvailable = false;
        auto without = makeTape(&noEngine);
        QVERIFY(!without->SpeechAvailable());
        QCOMPARE(without->groupCaption(), QStringLiteral("音合使用不可"));
        QVERIFY(!without->groupEnabled());
        writeThreeRecords();
        without->LoadTape(folder(), "12");
        QVERIFY(!without->groupEnabled());
        QVERIFY(!without->buttonsEnabled());

        auto tape = makeTape();
        QVERIFY(tape->SpeechAvailable());
        QCOMPARE(tape->groupCaption(), QStringLiteral("音合使用可"));
        QVERIFY(tape->groupEnabled());
        QVERIFY(!tape->buttonsEnabled()); // until a route's announcements are loaded

        QSignalSpy changed(tape.get(), &mdlM_Tape::groupChanged);
        tape->LoadTape(folder(), "12");
        QVERIFY(tape->buttonsEnabled());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_speech.lastEngine->dictionaryFolder, folder());

        tape->LoadTape(folder(), "99"); // no such file
        QVERIFY(!tape->groupEnabled());
        QVERIFY(!tape->buttonsEnabled());
        QCOMPARE(tape->groupCaption(), QStringLiteral("音合使用可"));

        tape->LoadTape(folder(), "12");
        QVERIFY(tape->groupEnabled());
        QVERIFY(tape->buttonsEnabled());
    }

    void loadReplacesTheRecords()
    {
        auto tape = makeTape();
        writeRoute("1", {"a,0,0", "b,0,0", "c,0,0", "d,0,0", "e,0,0", "f,0,0", "g,0,0", "h,0,0", "i,0,0"});
        writeRoute("2", {"a,0,0", "b,0,0", "c,0,0", "d,0,0", "e,0,0"});
        tape->LoadTape(folder(), "1");
        QCOMPARE(tape->GetTapeCount(), 9);
        tape->TapeNext();
        tape->LoadTape(folder(), "2");
        QCOMPARE(tape->GetTapeCount(), 5);
        QCOMPARE(tape->GetTapePos(), 0);
    }

    void aFailedLoadLeavesNothingToSpeak()
    {
        auto tape = makeTape();
        writeThreeRecords();
        writeRoute("13", {"good,1,1", "bad,x,1"});
        tape->LoadTape(folder(), "12");
        tape->TapeNext();
        // Said once in the log, and kept for the panel to show.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("13tp.csv"));
        QTest::failOnWarning(QRegularExpression("13tp.csv"));
        tape->LoadTape(folder(), "13");
        QCOMPARE(tape->loadProblem(),
                 QStringLiteral("放送用データ %1 を読み込めません。2 行目: ").arg(folder() + "13tp.csv")
                     + QStringLiteral("2番目の項目（データ送りフラグ）が -32768～32767 の整数ではありません：「x」"));
        QVERIFY(!tape->groupEnabled());
        QCOMPARE(tape->GetTapeCount(), 0);
        QCOMPARE(tape->GetTapePos(), 0);
        m_log.clear();
        tape->TapeNext();
        tape->TapeBack();
        QVERIFY(m_log.filter("speak").isEmpty());

        tape->LoadTape(folder(), "12");
        QVERIFY(tape->loadProblem().isEmpty());
    }

    void forwardStepsSpeakInOrderAndStopAtTheEnd()
    {
        auto tape = makeTape();
        writeThreeRecords();
        tape->LoadTape(folder(), "12");
        m_options.soundAlways = false;
        tape->TapeNext();
        QCOMPARE(tape->GetTapePos(), 1);
        // The previous announcement is silenced before the sound, which the
        // announcement then waits for.
        QCOMPARE(m_log, QStringList({"stop", "play one.wav S3 wait", "stop", "speak 一"}));
        tape->TapeNext();
        tape->TapeNext();
        QCOMPARE(tape->GetTapePos(), 3);
        QCOMPARE(m_log.filter("speak"), QStringList({"speak 一", "speak 二", "speak 三"}));
        QVERIFY(m_log.filter("play").size() == 2); // flag 4 plays nothing, yet speaks

        m_log.clear();
        tape->TapeNext(); // past the last record
        QCOMPARE(tape->GetTapePos(), 3);
        QVERIFY(m_log.isEmpty());
        QCOMPARE(tape->GetTapeStepFlag(tape->GetTapePos()), qint16(1));
    }

    // Each announcement is followed by its English line while the option is
    // on; an English file that does not match line for line gives none.
    void englishLinesFollowTheirAnnouncements()
    {
        auto tape = makeTape();
        writeThreeRecords();
        QFile english(folder() + "12tp.en.csv");
        QVERIFY(english.open(QIODevice::WriteOnly));
        english.write("One,1,1\r\nTwo,0,2\r\nThree,1,4\r\n");
        english.close();
        tape->LoadTape(folder(), "12");
        tape->TapeNext();
        m_options.english = false;
        tape->TapeNext();
        QCOMPARE(m_log.filter("speak"), QStringList({"speak 一 / One", "speak 二"}));

        QVERIFY(english.open(QIODevice::WriteOnly | QIODevice::Truncate));
        english.write("One,1,1\r\nTwo,0,2\r\n");
        english.close();
        m_options.english = true;
        m_log.clear();
        tape->LoadTape(folder(), "12");
        tape->TapeNext();
        QCOMPARE(m_log.filter("speak"), QStringList({"speak 一"}));
    }

    void soundChoice()
    {
        auto tape = makeTape();
        writeThreeRecords();
        tape->LoadTape(folder(), "12");

        // "Always" applies to the forward step only.
        tape->TapeNext();
        tape->TapeNext();
        QCOMPARE(m_log.filter("play"), QStringList({"play always.wav S3 wait", "play always.wav S3 wait"}));
        m_log.clear();
        m_options.waitForSound = false;
        tape->TapeBack();
        QCOMPARE(tape->GetTapePos(), 1);
        QCOMPARE(m_log, QStringList({"stop", "play one.wav S2 async", "stop", "speak 一"}));

        // An empty sound setting plays nothing.
        m_log.clear();
        m_options.alwaysSound.clear();
        tape->TapeNext();
        QCOMPARE(m_log.filter("play"), QStringList());
        QCOMPARE(m_log.filter("speak"), QStringList({"speak 二"}));
    }

    void backwardStepStopsAtTheFirstRecord()
    {
        auto tape = makeTape();
        tape->TapeBack(); // nothing loaded
        QCOMPARE(tape->GetTapePos(), 1);
        QCOMPARE(tape->GetTapeStepFlag(1), qint16(0));

        writeThreeRecords();
        tape->LoadTape(folder(), "12");
        m_log.clear();
        tape->TapeBack(); // before the first forward step
        QCOMPARE(tape->GetTapePos(), 1);
        QVERIFY(m_log.isEmpty());
        tape->TapeNext(); // record 2
        tape->TapeBack();
        QCOMPARE(tape->GetTapePos(), 1);
        QCOMPARE(m_log.filter("speak"), QStringList({"speak 二", "speak 一"}));
        m_log.clear();
        tape->TapeBack(); // from record 1
        QCOMPARE(tape->GetTapePos(), 1);
        QVERIFY(m_log.isEmpty());
    }

    void flagsOutsideTheRecordsReadZero()
    {
        auto tape = makeTape();
        writeThreeRecords();
        tape->LoadTape(folder(), "12");
        QCOMPARE(tape->GetTapeSoundFlag(2), qint16(2));
        QCOMPARE(tape->GetTapeStepFlag(0), qint16(0));
        QCOMPARE(tape->GetTapeSoundFlag(4), qint16(0));
    }

    void speechFailureStopsAgainAndStopTapeSilences()
    {
        auto tape = makeTape();
        writeThreeRecords();
        tape->LoadTape(folder(), "12");
        m_speech.lastEngine->speakSucceeds = false;
        m_log.clear();
        tape->SpeakTape(2);
        QCOMPARE(m_log, QStringList({"stop", "speak 二", "stop"}));

        m_speech.lastEngine->speakSucceeds = true;
        tape->SpeakTape(3);
        QVERIFY(m_speech.lastEngine->isSpeaking());
        tape->StopTape();
        QVERIFY(!m_speech.lastEngine->isSpeaking());
    }

    void voiceDialogAndRelease()
    {
        auto tape = makeTape();
        tape->ShowVoiceDialog(nullptr);
        QCOMPARE(m_log.last(), QStringLiteral("dialog 音声の調節"));

        tape->ReleaseSpeech();
        QVERIFY(!tape->SpeechAvailable());
        m_log.clear();
        tape->ShowVoiceDialog(nullptr);
        tape->StopTape();
        QVERIFY(m_log.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_mdlM_Tape)
#include "tst_mdlM_Tape.moc"
