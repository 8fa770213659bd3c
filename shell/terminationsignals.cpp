#include "shell/terminationsignals.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace abrevel {

namespace {

constexpr std::array<int, 3> TerminationSignals = {SIGTERM, SIGINT, SIGHUP};

// The pipe from the handler to the event loop: [0] read, [1] write.
int signalPipe[2] = {-1, -1};
// The first signal caught; lock-free, so the handler may set it whichever
// thread it runs on.
std::atomic<int> firstSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

// Async-signal-safe: a lock-free exchange and a write.
extern "C" void noteSignal(int signal) {
  const int savedErrno = errno;
  int none = 0;
  firstSignal.compare_exchange_strong(none, signal);
  const char byte = static_cast<char>(signal);
  // A full pipe already holds a wake-up: the byte can be dropped.
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
  errno = savedErrno;
}

} // namespace

void catchTerminationSignals() {
  if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
    return; // without a pipe the signals keep their default action
  struct sigaction action = {};
  action.sa_handler = noteSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigset_t signals;
  sigemptyset(&signals);
  for (const int signal : TerminationSignals) {
    sigaddset(&action.sa_mask, signal);
    sigaddset(&signals, signal);
  }
  for (const int signal : TerminationSignals) {
    struct sigaction before = {};
    if (signal == SIGHUP && ::sigaction(SIGHUP, nullptr, &before) == 0 &&
        before.sa_handler == SIG_IGN)
      continue; // started not to end at hang-up (nohup): so be it
    ::sigaction(signal, &action, nullptr);
  }
  ::sigprocmask(SIG_UNBLOCK, &signals, nullptr);
}

int caughtSignal() { return firstSignal.load(); }

void onTerminationSignal(QObject *owner, std::function<void()> close) {
  if (signalPipe[0] < 0)
    return;
  auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, owner, [close = std::move(close)] {
    char bytes[64];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    close();
  });
}

int endAfterTerminationSignal(int status) {
  const int signal = firstSignal.load();
  if (signal == 0)
    return status;
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal, &action, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  std::fflush(nullptr);
  ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
  ::raise(signal);
  return status; // not reached: the signal's default action ends the process
}

} // namespace abrevel
