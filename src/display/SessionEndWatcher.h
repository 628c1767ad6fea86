#pragma once

#include <QObject>
#include <QSocketNotifier>

// Turns the system's request to end the program (SIGTERM at logout or
// shutdown, SIGHUP, SIGINT) into a signal on the window thread, so that the
// program can still save its settings instead of dying with them. The signal
// handler only writes a byte to a socket pair; the notifier reads it in the
// event loop. One watcher per process.
class SessionEndWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SessionEndWatcher(QObject *parent = nullptr);
    ~SessionEndWatcher() override;

signals:
    // Emitted once, at the first request.
    void endRequested();

private:
    static void handleSignal(int signal);

    QSocketNotifier *m_notifier = nullptr;
};
