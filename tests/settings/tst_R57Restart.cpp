#include "display/SingleInstanceGuard.h"

#include <QDir>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// Runs the real program, offscreen, in a folder of its own.
class tst_R57Restart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void twoRunsWriteTheSameBytes();
    void aStartBesideOneThatDoesNotAnswerSaysSo();

private:
    QProcess *start(const QString &program,
                    QProcess::ProcessChannelMode channels = QProcess::ForwardedErrorChannel);
    bool waitUntilListening(const QString &settingsPath, QProcess &running);
    QByteArray runOnce(const QString &program);

    QTemporaryDir m_dir;
};

void tst_R57Restart::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QFile::copy(QStringLiteral(R57_PATH), m_dir.filePath("R57")));
}

QProcess *tst_R57Restart::start(const QString &program, QProcess::ProcessChannelMode channels)
{
    auto *process = new QProcess(this);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TAVELO_AUDIO_SINK", "fake");
    env.insert("HOME", m_dir.path());
    env.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(channels);
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
    const QString settings = QFileInfo(m_dir.path()).canonicalFilePath() + "/R57.in4";
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

void tst_R57Restart::aStartBesideOneThatDoesNotAnswerSaysSo()
{
    // A start that holds the settings but never listens: this test itself.
    QLockFile held(QFileInfo(m_dir.path()).canonicalFilePath() + "/R57.in4.lock");
    QVERIFY(held.tryLock(0));
    QProcess *second = start(m_dir.filePath("R57"), QProcess::SeparateChannels);
    QVERIFY(second->waitForFinished(30000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QVERIFY(second->exitCode() != 0);
    const QString said = QString::fromUtf8(second->readAllStandardError());
    QVERIFY2(said.contains(QStringLiteral("応答しません")), qPrintable(said));
    QVERIFY2(said.contains(QString::number(QCoreApplication::applicationPid())), qPrintable(said));
}

QTEST_GUILESS_MAIN(tst_R57Restart)
#include "tst_R57Restart.moc"
