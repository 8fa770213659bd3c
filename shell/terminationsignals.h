// SIGTERM, SIGINT and SIGHUP end the viewer the way its close button does:
// the parent ending it, Ctrl+C in a terminal, the terminal or the session
// closing. The handler itself only notes the signal and writes a byte into
// a pipe; the window's event loop reads the pipe and closes the window, so
// that the sound is closed and the hand-off file written on the one thread
// that owns them. A signal that comes before the event loop runs waits in
// the pipe, and is also seen by caughtSignal().
//
// A hang-up ignored when the program starts (nohup) stays ignored. Once the
// viewer has ended, the program ends as the first signal would have ended
// it: killed by that signal (status 128 + its number in a shell).
#pragma once

#include <functional>

class QObject;

namespace abrevel {

// Catches the three signals from now on, unblocked.
void catchTerminationSignals();

// The first signal caught, 0 while there has been none.
int caughtSignal();

// Runs `close` on the event loop of the calling thread once for each batch
// of signals that comes, starting at once when one came earlier; stops with
// `owner`.
void onTerminationSignal(QObject *owner, std::function<void()> close);

// The end of the program: when a signal was caught, its own default action
// (the process ends, killed by it); otherwise `status`, to return from main.
int endAfterTerminationSignal(int status);

} // namespace abrevel
