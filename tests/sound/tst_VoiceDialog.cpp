#include "FakeSpeech.h"

#include "sound/VoiceDialog.h"

#include <QPushButton>
#include <QSlider>
#include <QTest>

class tst_VoiceDialog : public QObject
{
    Q_OBJECT

private:
    QStringList m_log;

private slots:
    void tryingOutThenCancellingRestoresTheVoice()
    {
        FakeSpeechEngine engine(m_log);
        engine.voice = {120, 90, 110};
        VoiceDialog dialog(engine);
        QCOMPARE(dialog.chosenSettings(), VoiceSettings({120, 90, 110}));
        QCOMPARE(dialog.findChildren<QSlider *>().size(), 3);

        dialog.setChosenSettings({180, 60, 40}); // volume below the range
        dialog.findChild<QPushButton *>("cmdTry")->click();
        QCOMPARE(m_log.value(0), QStringLiteral("voice 180 60 50"));
        QVERIFY(m_log.value(1).startsWith("speak "));

        dialog.reject();
        QCOMPARE(engine.voice, VoiceSettings({120, 90, 110}));
        QVERIFY(!engine.isSpeaking());
    }

    void okKeepsTheChosenVoice()
    {
        FakeSpeechEngine engine(m_log);
        VoiceDialog dialog(engine);
        dialog.setChosenSettings({70, 130, 200});
        dialog.accept();
        QCOMPARE(engine.voice, VoiceSettings({70, 130, 200}));
    }
};

QTEST_MAIN(tst_VoiceDialog)
#include "tst_VoiceDialog.moc"
