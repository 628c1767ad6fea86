#include "SessionEndWatcher.h"

#include "EndSignalRelay.h"

#include <QCoreApplication>
#include <QEvent>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// [0] is written by the signal handler, [1] read by the notifier.
int endPipe[2] = {-1, -1};

constexpr int WatchedSignals[] = {SIGTERM, SIGHUP, SIGINT};

} // namespace

SessionEndWatcher::SessionEndWatcher(QObject *parent) : QObject(parent)
{
    if (QCoreApplication *application = QCoreApplication::instance()) {
        application->installEventFilter(this);
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, endPipe) != 0) {
        return;
    }
    m_notifier = new QSocketNotifier(endPipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(endPipe[1], &byte, 1);
        m_notifier->setEnabled(false);
        emit endRequested();
    });
    EndSignalRelay::arm(endPipe[0]);
    struct sigaction action = {};
    action.sa_handler = &EndSignalRelay::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : WatchedSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

SessionEndWatcher::~SessionEndWatcher()
{
    for (const int signal : WatchedSignals) {
        std::signal(signal, SIG_DFL);
    }
    EndSignalRelay::disarm();
    delete m_notifier;
    m_notifier = nullptr;
    for (int &fd : endPipe) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

bool SessionEndWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
        emit endRequested();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
