#pragma once

// What happens inside the handler of the signals that end the program
// (SIGTERM, SIGHUP, SIGINT), so only calls that are safe there. The first
// signal wakes the window thread through a socket, which then ends the
// program in order and saves the settings. Any later signal ends the process
// at once by the signal's default action: an end sequence that hangs (a sound
// device that no longer answers) must not keep a logout or a second Ctrl+C
// waiting. The handler leaves errno as the code it interrupted had it.
namespace EndSignalRelay {

// From now on the first signal handled writes one byte to `wakeSocket`.
void arm(int wakeSocket);
// Forgets the socket and the signals counted so far.
void disarm();
// The signal handler.
void handle(int signal);

} // namespace EndSignalRelay
