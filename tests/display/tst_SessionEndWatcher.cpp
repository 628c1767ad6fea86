#include "display/EndSignalRelay.h"
#include "display/SessionEndWatcher.h"

#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

// The requests to end the program that nobody at the screen makes. What a
// signal does to the real program is checked in tst_R57Restart.
class tst_SessionEndWatcher : public QObject
{
    Q_OBJECT

private slots:
    void sessionManagersQuitEndsWithoutClosingWindows();
    void handlerKeepsTheInterruptedErrno();
};

// The session manager's "die" reaches the program as a Quit event to the
// application; left to Qt, it closes the windows, and closing the control
// panel asks a question.
void tst_SessionEndWatcher::sessionManagersQuitEndsWithoutClosingWindows()
{
    SessionEndWatcher watcher;
    QSignalSpy ends(&watcher, &SessionEndWatcher::endRequested);
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
    QCOMPARE(ends.count(), 1);
    QVERIFY(window.isVisible());
}

// The handler may interrupt code between a failing call and its look at
// errno. Its own write fails here: nobody reads the socket any more.
void tst_SessionEndWatcher::handlerKeepsTheInterruptedErrno()
{
    int sockets[2];
    QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM, 0, sockets), 0);
    ::close(sockets[1]);
    EndSignalRelay::arm(sockets[0]);
    errno = EDOM;
    EndSignalRelay::handle(SIGTERM);
    const int after = errno;
    EndSignalRelay::disarm();
    ::close(sockets[0]);
    QCOMPARE(after, EDOM);
}

QTEST_MAIN(tst_SessionEndWatcher)
#include "tst_SessionEndWatcher.moc"
