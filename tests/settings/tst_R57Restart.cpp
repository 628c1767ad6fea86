#include "display/SingleInstanceGuard.h"

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

// Runs the real program, offscreen, in a folder of its own.
class tst_R57Restart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void twoRunsWriteTheSameBytes();
    void sessionEndLogsAFailedSaveInsteadOfAsking();
    void secondSignalEndsAtOnce();

private:
    QProcess *start(const QString &program, const QProcessEnvironment &extra = {});
    bool waitUntilListening(const QString &settingsPath, QProcess &running);
    QByteArray runOnce(const QString &program);
    QString settingsPath() const;

    QTemporaryDir m_dir;
};

void tst_R57Restart::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QFile::copy(QStringLiteral(R57_PATH), m_dir.filePath("R57")));
}

QString tst_R57Restart::settingsPath() const
{
    return QFileInfo(m_dir.path()).canonicalFilePath() + "/R57.in4";
}

QProcess *tst_R57Restart::start(const QString &program, const QProcessEnvironment &extra)
{
    auto *process = new QProcess(this);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TAVELO_AUDIO_SINK", "fake");
    env.insert("HOME", m_dir.path());
    env.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
    env.insert(extra);
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    process->start(program, {});
    return process;
}

bool tst_R57Restart::waitUntilListening(const QString &settingsPath, QProcess &running)
{
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired() && running.state() != QProcess::NotRunning) {
        QLocalSocket probe;
        probe.connectToServer(SingleInstanceGuard::serverName(settingsPath));
        if (probe.waitForConnected(200)) {
            return true;
        }
        QTest::qWait(100);
    }
    return false;
}

QByteArray tst_R57Restart::runOnce(const QString &program)
{
    const QString settings = settingsPath();
    QProcess *first = start(program);
    if (!waitUntilListening(settings, *first)) {
        qWarning("the program did not come up");
        return {};
    }
    // A second start with the same settings ends at once, leaving the first.
    QProcess *second = start(program);
    if (!second->waitForFinished(30000) || second->exitCode() != 0 || first->state() != QProcess::Running) {
        qWarning("the second start did not give way");
        return {};
    }
    // The session ends: the program saves its settings and exits.
    first->terminate();
    if (!first->waitForFinished(30000) || first->exitStatus() != QProcess::NormalExit || first->exitCode() != 0) {
        qWarning("the program did not end by itself");
        return {};
    }
    QFile file(settings);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void tst_R57Restart::twoRunsWriteTheSameBytes()
{
    const QString program = m_dir.filePath("R57");
    const QByteArray firstRun = runOnce(program);
    QVERIFY(firstRun.size() >= 826);
    QCOMPARE(firstRun.mid(firstRun.size() - 98 * 6 - 2, 2).toHex(), QByteArray("6200"));
    const QByteArray secondRun = runOnce(program);
    QCOMPARE(secondRun, firstRun);
    // Nothing is left beside the file: no lock, no half-written copy.
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), (QStringList{"R57", "R57.in4"}));
}

// Nobody can answer a message box when the session ends: a save that fails
// then is logged, once, and the program ends all the same.
void tst_R57Restart::sessionEndLogsAFailedSaveInsteadOfAsking()
{
    QFile::remove(settingsPath());
    QProcess *running = start(m_dir.filePath("R57"));
    QVERIFY(waitUntilListening(settingsPath(), *running));
    // A folder where the file goes: the save cannot replace it.
    QVERIFY(QDir(m_dir.path()).mkdir("R57.in4"));
    running->terminate();
    const bool ended = running->waitForFinished(20000);
    if (!ended) {
        running->kill();
        running->waitForFinished();
    }
    QDir(m_dir.path()).rmdir("R57.in4");
    QVERIFY2(ended, "the program waits for an answer");
    QCOMPARE(running->exitStatus(), QProcess::NormalExit);
    QCOMPARE(running->exitCode(), 0);
    const QString log = QString::fromUtf8(running->readAllStandardError());
    QCOMPARE(log.count(QStringLiteral("The settings were not saved to ") + settingsPath()), 1);
    QVERIFY2(log.contains(QStringLiteral("エラー Code:70 内容:書き込みできません。")), qPrintable(log));
}

// A second signal, while the first is still to be handled, ends the program
// before anything else: here before the event loop ever sees the first.
void tst_R57Restart::secondSignalEndsAtOnce()
{
    QFile::remove(settingsPath());
    QProcess *running = start(m_dir.filePath("R57"));
    QVERIFY(waitUntilListening(settingsPath(), *running));
    const pid_t pid = pid_t(running->processId());
    QCOMPARE(::kill(pid, SIGSTOP), 0);
    QCOMPARE(::kill(pid, SIGTERM), 0);
    QCOMPARE(::kill(pid, SIGINT), 0);
    QCOMPARE(::kill(pid, SIGCONT), 0);
    QVERIFY(running->waitForFinished(20000));
    QCOMPARE(running->exitStatus(), QProcess::CrashExit);
    QVERIFY(!QFile::exists(settingsPath()));
}

QTEST_GUILESS_MAIN(tst_R57Restart)
#include "tst_R57Restart.moc"
