#include "EndSignalRelay.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>

namespace {

// Lock-free, so the handler may touch them, on whichever thread it runs.
std::atomic<int> wakeSocketFd{-1};
std::atomic<int> signalsSeen{0};
static_assert(std::atomic<int>::is_always_lock_free);

} // namespace

namespace EndSignalRelay {

void arm(int wakeSocket)
{
    signalsSeen = 0;
    wakeSocketFd = wakeSocket;
}

void disarm()
{
    wakeSocketFd = -1;
    signalsSeen = 0;
}

void handle(int signal)
{
    const int interruptedErrno = errno;
    if (signalsSeen.fetch_add(1) == 0) {
        const char byte = 1;
        // Never block in a handler, and a reader that is gone must not
        // raise SIGPIPE.
        [[maybe_unused]] const ssize_t sent = ::send(wakeSocketFd.load(), &byte, 1, MSG_DONTWAIT | MSG_NOSIGNAL);
    } else {
        struct sigaction byDefault = {};
        byDefault.sa_handler = SIG_DFL;
        sigemptyset(&byDefault.sa_mask);
        ::sigaction(signal, &byDefault, nullptr);
        // Pending while this handler runs, delivered as it returns: the
        // process ends as the signal says, and its parent sees which.
        ::raise(signal);
    }
    errno = interruptedErrno;
}

} // namespace EndSignalRelay
