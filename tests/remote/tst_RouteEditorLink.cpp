#include "display/SingleInstanceGuard.h"

#include <QJsonObject>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

// The route editor's link to the running program, against the real program
// in a folder of its own (its fare folder, as the options leave it empty).
class tst_RouteEditorLink : public QObject
{
    Q_OBJECT

private slots:
    void setsARouteOrSaysWhyNot();
};

void tst_RouteEditorLink::setsARouteOrSaysWhyNot()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = QFileInfo(dir.path()).canonicalFilePath();
    QVERIFY(QFile::copy(QStringLiteral(R57_PATH), folder + "/R57"));
    QVERIFY(QFile::copy(QStringLiteral(SAMPLES "/0.hy3"), folder + "/0.hy3"));
    const QString settings = folder + "/R57.in4";

    // Nobody runs with these settings, also when a start that crashed left
    // its lock: said at once, not after a wait.
    QElapsedTimer waited;
    waited.start();
    QCOMPARE(SingleInstanceGuard::ask(settings, {{"request", "folders"}}, 20000).status,
             SingleInstanceGuard::Reply::NotRunning);
    QProcess crashed;
    crashed.start("sleep", {"0.2"});
    QVERIFY(crashed.waitForStarted());
    const qint64 gone = crashed.processId();
    QVERIFY(crashed.waitForFinished());
    QFile lock(settings + ".lock");
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(gone) + "\nR57\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    QCOMPARE(SingleInstanceGuard::ask(settings, {{"request", "folders"}}, 20000).status,
             SingleInstanceGuard::Reply::NotRunning);
    QVERIFY(waited.elapsed() < 5000);

    QProcess running;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TAVELO_AUDIO_SINK", "fake");
    env.insert("HOME", folder);
    env.insert("XDG_CONFIG_HOME", folder + "/config");
    running.setProcessEnvironment(env);
    running.setWorkingDirectory(folder);
    running.setProcessChannelMode(QProcess::ForwardedChannels);
    running.start(folder + "/R57", {});
    QVERIFY(running.waitForStarted());

    // The program comes up and names its folders, absolute.
    SingleInstanceGuard::Reply folders;
    QDeadlineTimer deadline(30000);
    do {
        QTest::qWait(200);
        folders = SingleInstanceGuard::ask(settings, {{"request", "folders"}}, 5000);
    } while (folders.status != SingleInstanceGuard::Reply::Answered && !deadline.hasExpired());
    QCOMPARE(folders.status, SingleInstanceGuard::Reply::Answered);
    QCOMPARE(folders.answer.value("fareFolder").toString(), folder);
    QCOMPARE(folders.answer.value("route").toString(), QString());

    // A route without fare data: the caller gets the panel's message and the file.
    const auto missing = SingleInstanceGuard::ask(settings, {{"request", "setRoute"}, {"route", "5"}}, 30000);
    QCOMPARE(missing.status, SingleInstanceGuard::Reply::Answered);
    QCOMPARE(missing.answer.value("ok").toBool(), false);
    QVERIFY2(missing.answer.value("error").toString().contains(folder + "/5.hy3"),
             qPrintable(missing.answer.value("error").toString()));

    // Route numbers as the panel's entry takes them: the whole text, 1 to 5
    // digits, leading zeros dropped ("007" reads 7.hy3).
    for (const char *route : {"123456", "12\n"}) {
        const auto refused = SingleInstanceGuard::ask(settings, {{"request", "setRoute"}, {"route", route}}, 5000);
        QCOMPARE(refused.answer.value("ok").toBool(), false);
        QVERIFY2(refused.answer.value("error").toString().contains(QStringLiteral("1～5 桁")),
                 qPrintable(refused.answer.value("error").toString()));
    }
    const auto zeros = SingleInstanceGuard::ask(settings, {{"request", "setRoute"}, {"route", "007"}}, 30000);
    QVERIFY2(zeros.answer.value("error").toString().contains(folder + "/7.hy3"),
             qPrintable(zeros.answer.value("error").toString()));

    const auto set = SingleInstanceGuard::ask(settings, {{"request", "setRoute"}, {"route", "0"}}, 30000);
    QVERIFY2(set.answer.value("ok").toBool(), qPrintable(set.answer.value("error").toString()));
    QCOMPARE(SingleInstanceGuard::ask(settings, {{"request", "folders"}}, 5000).answer.value("route").toString(),
             QStringLiteral("0"));

    running.terminate();
    QVERIFY(running.waitForFinished(30000));
}

QTEST_GUILESS_MAIN(tst_RouteEditorLink)
#include "tst_RouteEditorLink.moc"
