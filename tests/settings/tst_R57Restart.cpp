#include "display/SingleInstanceGuard.h"

#include <QDir>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

// Runs the real program in a folder of its own: offscreen, or on a virtual
// desktop with a window manager where the windows' places matter.
class tst_R57Restart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void twoRunsWriteTheSameBytes();
    void aStartBesideOneThatDoesNotAnswerSaysSo();
    void sessionEndLogsAFailedSaveInsteadOfAsking();
    void secondSignalEndsAtOnce();
    void aSideFileThatIsNoFileIsSaidAndLeftAlone();
    void aSocketFolderOthersCouldEnterIsSaid();
    void windowsStayWhereTheyWereUnderAWindowManager();

private:
    QProcess *start(const QString &program, const QProcessEnvironment &extra = {});
    bool waitUntilListening(const QString &settingsPath, QProcess &running);
    QByteArray runOnce(const QString &program);
    bool startDesktop();
    // xwininfo's account of a window once it is on the screen; empty if it
    // does not come.
    QByteArray waitUntilViewable(const QString &title);
    QString settingsPath() const;

    QTemporaryDir m_dir;
    QProcess *m_desktop = nullptr;
    QString m_display;
};

void tst_R57Restart::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QFile::copy(QStringLiteral(R57_PATH), m_dir.filePath("R57")));
}

void tst_R57Restart::cleanupTestCase()
{
    if (m_desktop) {
        QProcess::execute("openbox", {"--exit"});
        if (!m_desktop->waitForFinished(10000)) {
            m_desktop->kill();
            m_desktop->waitForFinished();
        }
    }
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
        // The answer comes from the main loop, so the start-up (the settings
        // load included) is over once it arrives.
        if (probe.waitForConnected(200)) {
            return probe.waitForReadyRead(int(deadline.remainingTime()));
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

void tst_R57Restart::aStartBesideOneThatDoesNotAnswerSaysSo()
{
    // A start that holds the settings but never listens: this test itself.
    QLockFile held(QFileInfo(m_dir.path()).canonicalFilePath() + "/R57.in4.lock");
    QVERIFY(held.tryLock(0));
    QProcess *second = start(m_dir.filePath("R57"));
    QVERIFY(second->waitForFinished(30000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QVERIFY(second->exitCode() != 0);
    const QString said = QString::fromUtf8(second->readAllStandardError());
    QVERIFY2(said.contains(QStringLiteral("応答しません")), qPrintable(said));
    QVERIFY2(said.contains(QString::number(QCoreApplication::applicationPid())), qPrintable(said));
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

// A side file that is no file, a pipe nobody writes to or a link to an
// endless device, neither holds up the start nor ends it; it is said once
// and left as it is.
void tst_R57Restart::aSideFileThatIsNoFileIsSaidAndLeftAlone()
{
    QFile::remove(settingsPath());
    const QString folder = m_dir.filePath("config/Tavelo");
    QVERIFY(QDir().mkpath(folder));
    const QString side = folder + "/R57.side.json";
    for (const bool pipe : {true, false}) {
        QFile::remove(side);
        if (pipe) {
            QCOMPARE(::mkfifo(QFile::encodeName(side).constData(), 0600), 0);
        } else {
            QVERIFY(QFile::link("/dev/zero", side));
        }
        QProcess *running = start(m_dir.filePath("R57"));
        QVERIFY2(waitUntilListening(settingsPath(), *running), pipe ? "a pipe" : "a link to /dev/zero");
        running->terminate();
        QVERIFY(running->waitForFinished(20000));
        QCOMPARE(running->exitStatus(), QProcess::NormalExit);
        const QString log = QString::fromUtf8(running->readAllStandardError());
        QVERIFY2(log.count(side + QStringLiteral(": ファイルではありません")) == 1, qPrintable(log));
        struct stat entry = {};
        QCOMPARE(::lstat(QFile::encodeName(side).constData(), &entry), 0);
        QVERIFY(pipe ? S_ISFIFO(entry.st_mode) : S_ISLNK(entry.st_mode));
    }
    QFile::remove(side);
}

// Where another account made the socket's folder first, the program runs
// without it and says why, once.
void tst_R57Restart::aSocketFolderOthersCouldEnterIsSaid()
{
    QFile::remove(settingsPath());
    const QString temp = m_dir.filePath("tmp");
    const QString taken = temp + QStringLiteral("/tavelo-%1").arg(::geteuid());
    QVERIFY(QDir().mkpath(taken));
    QCOMPARE(::chmod(QFile::encodeName(taken).constData(), 0777), 0);
    QProcessEnvironment env;
    env.insert("XDG_RUNTIME_DIR", QString());
    env.insert("TMPDIR", temp);
    QProcess *running = start(m_dir.filePath("R57"), env);
    running->setReadChannel(QProcess::StandardError);
    const QString said = QStringLiteral("Later starts and the route editor cannot reach this program");
    QString log;
    QDeadlineTimer deadline(30000);
    while (!log.contains(said) && !deadline.hasExpired() && running->state() != QProcess::NotRunning) {
        running->waitForReadyRead(100);
        log += QString::fromUtf8(running->readAllStandardError());
    }
    running->terminate();
    QVERIFY(running->waitForFinished(20000));
    log += QString::fromUtf8(running->readAllStandardError());
    QVERIFY2(log.count(said) == 1 && log.contains(taken + QStringLiteral(" のアクセス権が 0777")), qPrintable(log));
    QVERIFY(QDir(taken).isEmpty());
    QDir(temp).removeRecursively();
}

// A virtual desktop with openbox on it, its work area 40 pixels short of the
// screen's bottom as if a task bar were there.
bool tst_R57Restart::startDesktop()
{
    if (QStandardPaths::findExecutable("openbox").isEmpty() || QStandardPaths::findExecutable("xvfb-run").isEmpty()
        || QStandardPaths::findExecutable("xwininfo").isEmpty()) {
        qWarning("scripts/setup installs xvfb, openbox and x11-utils");
        return false;
    }
    QFile config(m_dir.filePath("openbox.xml"));
    if (!config.open(QIODevice::WriteOnly)) {
        return false;
    }
    config.write("<?xml version=\"1.0\"?>\n<openbox_config xmlns=\"http://openbox.org/3.4/rc\">\n"
                 "<margins><top>0</top><bottom>40</bottom><left>0</left><right>0</right></margins>\n"
                 "</openbox_config>\n");
    config.close();
    const QString ready = m_dir.filePath("display");
    m_desktop = new QProcess(this);
    m_desktop->setProcessChannelMode(QProcess::ForwardedChannels);
    m_desktop->start("xvfb-run", {"-a", "-s", "-screen 0 1280x800x24 -ac", "openbox", "--sm-disable", "--config-file",
                                  config.fileName(), "--startup",
                                  QStringLiteral("sh -c 'echo $DISPLAY > %1'").arg(ready)});
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && m_desktop->state() != QProcess::NotRunning) {
        QFile file(ready);
        if (file.open(QIODevice::ReadOnly)) {
            m_display = QString::fromLocal8Bit(file.readAll()).trimmed();
            if (!m_display.isEmpty()) {
                qputenv("DISPLAY", m_display.toLocal8Bit());
                return true;
            }
        }
        QTest::qWait(100);
    }
    return false;
}

QByteArray tst_R57Restart::waitUntilViewable(const QString &title)
{
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        QProcess info;
        info.start("xwininfo", {"-display", m_display, "-name", title});
        if (info.waitForFinished(5000)) {
            const QByteArray text = info.readAllStandardOutput();
            if (text.contains("IsViewable")) {
                return text;
            }
        }
        QTest::qWait(100);
    }
    return {};
}

// The windows come back where they were, restart after restart, under a
// window manager that frames the control panel; the first start puts the
// panel's frame in the corner of the work area, not under the task bar.
void tst_R57Restart::windowsStayWhereTheyWereUnderAWindowManager()
{
    // The control panel's client height: the design's and the status row.
    constexpr int PanelHeight = 173 + 30;
    QVERIFY(startDesktop());
    QProcessEnvironment onDesktop;
    onDesktop.insert("QT_QPA_PLATFORM", "xcb");
    onDesktop.insert("DISPLAY", m_display);
    // Both windows' places, from the end of the file: the control panel's
    // left and top, then the display window's (twips).
    const auto places = [](const QByteArray &file) {
        const char *tail = file.constData() + file.size() - 98 * 6 - 2 - 68 - 8;
        QList<qint32> values;
        for (const int offset : {-22 + 14, -22 + 18, 0, 4}) {
            values << qFromLittleEndian<qint32>(tail + offset);
        }
        return values;
    };
    // The panel's client top on the screen, as xwininfo sees it.
    const auto panelTop = [this] {
        const QByteArray text = waitUntilViewable(QStringLiteral("集中操作盤"));
        const int at = text.indexOf("Absolute upper-left Y:");
        return at < 0 ? -1 : text.mid(at + 22, text.indexOf('\n', at) - at - 22).trimmed().toInt();
    };
    const auto runOnDesktop = [&] {
        QProcess *running = start(m_dir.filePath("R57"), onDesktop);
        if (!waitUntilListening(settingsPath(), *running) || panelTop() < 0
            || waitUntilViewable(QStringLiteral("Tavelo - 型番:R57")).isEmpty()) {
            return QList<qint32>();
        }
        // Once framed, a panel in the corner moves up by its title bar.
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && panelTop() + PanelHeight >= 760) {
            QTest::qWait(100);
        }
        running->terminate();
        if (!running->waitForFinished(30000)) {
            return QList<qint32>();
        }
        QFile file(settingsPath());
        return file.open(QIODevice::ReadOnly) ? places(file.readAll()) : QList<qint32>();
    };

    QFile::remove(settingsPath());
    const QList<qint32> firstRun = runOnDesktop();
    QCOMPARE(firstRun.size(), 4);
    // The panel's client area (353 x 173 and the status row) with its frame inside 1280 x 760.
    const int left = firstRun[0] / 15, top = firstRun[1] / 15;
    QVERIFY2(left + 353 < 1280 && left + 353 > 1280 - 20, qPrintable(QString::number(left)));
    QVERIFY2(top + PanelHeight < 760 && top + PanelHeight > 760 - 20, qPrintable(QString::number(top)));
    QCOMPARE(firstRun.mid(2), (QList<qint32>{0, 0}));
    QCOMPARE(runOnDesktop(), firstRun);

    // Where the operator had put them: the panel at (950, 350), the display
    // at (45, 30).
    QFile file(settingsPath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    char *tail = bytes.data() + bytes.size() - 98 * 6 - 2 - 68 - 8;
    const QList<qint32> moved = {950 * 15, 350 * 15, 45 * 15, 30 * 15};
    const QList<int> offsets = {-22 + 14, -22 + 18, 0, 4};
    for (int i = 0; i < 4; ++i) {
        qToLittleEndian<qint32>(moved[i], tail + offsets[i]);
    }
    QVERIFY(file.seek(0));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();
    for (int run = 1; run <= 10; ++run) {
        QCOMPARE(runOnDesktop(), moved);
    }
}

QTEST_GUILESS_MAIN(tst_R57Restart)
#include "tst_R57Restart.moc"
