#pragma once

#include <QObject>
#include <QSocketNotifier>

// Turns the system's request to end the program into a signal on the window
// thread, so that the program can still save its settings instead of dying
// with them: SIGTERM at logout or shutdown, SIGHUP, SIGINT, and the session
// manager's end of the session, which Qt delivers as a Quit event to the
// application (left to Qt, it would close the windows, and the control panel
// would ask a question nobody is there to answer). The signal handler only
// writes a byte to a socket pair, which the notifier reads in the event loop;
// a second signal ends the process at once (EndSignalRelay). One watcher per
// process.
class SessionEndWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SessionEndWatcher(QObject *parent = nullptr);
    ~SessionEndWatcher() override;

signals:
    // Emitted at the first signal and at every Quit event.
    void endRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QSocketNotifier *m_notifier = nullptr;
};
