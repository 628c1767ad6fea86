#include "display/PrivateSocketFolder.h"
#include "display/SingleInstanceGuard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <future>

#include <sys/stat.h>
#include <unistd.h>

// The single-instance socket is this user's alone: where it lives, and who
// may talk to it.
class tst_SingleInstanceGuard : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("TMPDIR");
    }

    void onlyThisUsersConnectionsAreAnswered()
    {
        QVERIFY(SingleInstanceGuard::acceptsPeer(::geteuid()));
        QVERIFY(!SingleInstanceGuard::acceptsPeer(::geteuid() + 1));
        QVERIFY(!SingleInstanceGuard::acceptsPeer(std::nullopt));

        QTemporaryDir dir;
        const QString settings = dir.filePath(QStringLiteral("R57.in4"));
        SingleInstanceGuard guard(settings);
        QCOMPARE(guard.claim(), SingleInstanceGuard::Claim::First);
        QCOMPARE(guard.listenProblem(), QString());
        guard.setRequestHandler([](const QJsonObject &) { return QJsonObject{{"ok", true}}; });
        std::future<SingleInstanceGuard::Reply> reply = std::async(std::launch::async, [&settings] {
            return SingleInstanceGuard::ask(settings, {{"request", "folders"}}, 10000);
        });
        QTRY_VERIFY_WITH_TIMEOUT(reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 15000);
        const SingleInstanceGuard::Reply answered = reply.get();
        QCOMPARE(answered.status, SingleInstanceGuard::Reply::Answered);
        QVERIFY(answered.answer.value("ok").toBool());
    }

    // A folder others could enter, rename or have made is not used.
    void aFolderOthersCouldEnterIsRefused()
    {
        QTemporaryDir dir;
        const QString own = dir.filePath(QStringLiteral("own"));
        QVERIFY(QDir().mkdir(own));
        QVERIFY(QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(PrivateSocketFolder::problem(own), QString());

        const QString open = dir.filePath(QStringLiteral("open"));
        QVERIFY(QDir().mkdir(open));
        QCOMPARE(::chmod(QFile::encodeName(open).constData(), 0755), 0);
        QVERIFY(PrivateSocketFolder::problem(open).contains(QStringLiteral("0755")));

        const QString link = dir.filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(own, link));
        QVERIFY(PrivateSocketFolder::problem(link).contains(QStringLiteral("シンボリックリンク")));

        if (::geteuid() == 0) {
            const QString others = dir.filePath(QStringLiteral("others"));
            QVERIFY(QDir().mkdir(others));
            QCOMPARE(::chmod(QFile::encodeName(others).constData(), 0700), 0);
            QCOMPARE(::chown(QFile::encodeName(others).constData(), 65534, 65534), 0);
            QVERIFY(PrivateSocketFolder::problem(others).contains(QStringLiteral("別のユーザー")));
        }
    }

    // In the session's runtime folder when it is private; else in a private
    // folder of the temporary one; and when that one is not private (another
    // account made it first), nowhere, and the program says why.
    void theSocketLivesInAPrivateFolder()
    {
        QTemporaryDir dir;
        const QString settings = dir.filePath(QStringLiteral("R57.in4"));
        const QString runtime = dir.filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkdir(runtime));
        QCOMPARE(::chmod(QFile::encodeName(runtime).constData(), 0700), 0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        {
            SingleInstanceGuard guard(settings);
            QCOMPARE(guard.claim(), SingleInstanceGuard::Claim::First);
            const QString socket = SingleInstanceGuard::serverName(settings);
            QCOMPARE(QFileInfo(socket).absolutePath(), runtime);
            QVERIFY(QFileInfo::exists(socket));
        }

        QCOMPARE(::chmod(QFile::encodeName(runtime).constData(), 0755), 0);
        const QString temp = dir.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkdir(temp));
        qputenv("TMPDIR", QFile::encodeName(temp));
        const QString fallback = QDir(temp).filePath(QStringLiteral("tavelo-%1").arg(::geteuid()));
        QCOMPARE(QFileInfo(SingleInstanceGuard::serverName(settings)).absolutePath(), fallback);
        QCOMPARE(PrivateSocketFolder::problem(fallback), QString());

        QCOMPARE(::chmod(QFile::encodeName(fallback).constData(), 0777), 0);
        QCOMPARE(SingleInstanceGuard::serverName(settings), QString());
        SingleInstanceGuard guard(settings);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot reach this program: .*0777")));
        QCOMPARE(guard.claim(), SingleInstanceGuard::Claim::First);
        QVERIFY2(guard.listenProblem().contains(fallback), qPrintable(guard.listenProblem()));
        QVERIFY(QDir(fallback).isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_SingleInstanceGuard)
#include "tst_SingleInstanceGuard.moc"
