#include "FakeCompanion.h"
#include "FakeSpeech.h"

#include "formats/Cp932.h"
#include "windows/Form1.h"
#include "windows/mdlR57_000.h"
#include "windows/frmCtl.h"
#include "settings/OptionsStore.h"
#include "sound/mdlM_Tape.h"

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The announcement group of the control panel and its four buttons.
class tst_frmCtlTape : public QObject
{
    Q_OBJECT

private:
    QStringList m_log;
    FakeCompanion m_companion;
    FakeSpeechService m_speech{m_log};
    FakeChimePlayer m_chimes{m_log};

    PlatformServices services()
    {
        PlatformServices services;
        services.companion = &m_companion;
        services.speech = &m_speech;
        services.chimes = &m_chimes;
        return services;
    }

    static QPushButton *button(frmCtl &panel, const char *name)
    {
        return panel.findChild<QPushButton *>(name);
    }

private slots:
    void withoutEngineTheGroupStaysDisabled()
    {
        m_speech.engineAvailable = false;
        Form1 display(services());
        frmCtl &panel = *display.controlPanel();
        panel.show();
        auto *group = panel.findChild<QGroupBox *>("grpM_Tape");
        QVERIFY(group);
        QCOMPARE(group->title(), QStringLiteral("音合使用不可"));
        QVERIFY(!group->isEnabled());
        m_speech.engineAvailable = true;
    }

    void buttonsStepAnnouncementsAndFares()
    {
        Form1 display(services());
        frmCtl &panel = *display.controlPanel();
        panel.show();
        auto *group = panel.findChild<QGroupBox *>("grpM_Tape");
        QCOMPARE(group->title(), QStringLiteral("音合使用可"));
        QVERIFY(group->isEnabled());
        QCOMPARE(button(panel, "cmdTapeNext")->text(), QStringLiteral("送り"));
        QVERIFY(!button(panel, "cmdTapeNext")->isEnabled()); // no route yet

        QTemporaryDir dir;
        QFile file(dir.filePath("12tp.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Cp932::encode(QStringLiteral("一,0,0\r\n二,1,0\r\n")));
        file.close();
        display.operation().tape().LoadTape(dir.path() + "/", "12");
        for (const char *name : {"cmdTapeBack", "cmdTapeNext", "cmdTapeStop", "cmdTapeSet"}) {
            QVERIFY2(button(panel, name)->isEnabled(), name);
        }

        // The keys are the bus's announcement steps (which step the fares
        // where a record says so).
        const mdlM_Tape &tape = display.operation().tape();
        button(panel, "cmdTapeNext")->click(); // record 1
        QCOMPARE(tape.GetTapePos(), 1);
        button(panel, "cmdTapeNext")->click(); // record 2
        button(panel, "cmdTapeNext")->click(); // past the end: still on record 2
        QCOMPARE(tape.GetTapePos(), 2);
        button(panel, "cmdTapeBack")->click(); // record 1
        button(panel, "cmdTapeBack")->click(); // stays on record 1
        QCOMPARE(tape.GetTapePos(), 1);
        QCOMPARE(m_log.filter("speak"), QStringList({"speak 一", "speak 二", "speak 一"}));

        m_log.clear();
        button(panel, "cmdTapeStop")->click();
        button(panel, "cmdTapeSet")->click();
        QCOMPARE(m_log, QStringList({"stop", "dialog 音声の調節"}));
        QCOMPARE(m_speech.lastDialogOwner, &panel);

        // A route without announcements disables the group again, and the
        // group says why.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("13tp.csv"));
        display.operation().tape().LoadTape(dir.path() + "/", "13");
        QVERIFY(!group->isEnabled());
        QCOMPARE(group->toolTip(), display.operation().tape().loadProblem());
        QVERIFY(group->toolTip().contains(dir.filePath("13tp.csv")));
        QCOMPARE(group->accessibleDescription(), group->toolTip());
        display.operation().tape().LoadTape(dir.path() + "/", "12");
        QVERIFY(group->toolTip().isEmpty() && group->accessibleDescription().isEmpty());
    }

    void soundBeforeAnnouncementComesFromTheOptions()
    {
        Form1 display(services());
        display.panelModule().InitPanel(); // creates the options dialog
        OptionsStore &options = display.options();
        frmCtl &panel = *display.controlPanel();
        panel.show();

        QTemporaryDir dir;
        QFile file(dir.filePath("12tp.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Cp932::encode(QStringLiteral("一,0,2\r\n二,0,0\r\n")));
        file.close();
        display.operation().tape().LoadTape(dir.path() + "/", "12");

        options.update([](OptionInfo &o) {
            o.Sound.TapeSndFile = QStringLiteral("always.wav");
            o.Sound.TapeSnd2 = QStringLiteral("flag2.wav");
        });
        m_log.clear();
        button(panel, "cmdTapeNext")->click();
        QCOMPARE(m_log.filter("play"), QStringList{"play always.wav S3 wait"});

        // Chosen by the record's flag, played while the announcement starts.
        options.update([](OptionInfo &o) {
            o.Sound.TapeSndByFlag = -1;
            o.Sound.TapeSndAsync = -1;
        });
        button(panel, "cmdTapeNext")->click(); // record 2, flag 0: no sound
        button(panel, "cmdTapeBack")->click(); // record 1, flag 2
        QCOMPARE(m_log.filter("play"), QStringList({"play always.wav S3 wait", "play flag2.wav S2 async"}));
    }
};

QTEST_MAIN(tst_frmCtlTape)
#include "tst_frmCtlTape.moc"
