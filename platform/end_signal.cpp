#include "platform/end_signal.h"

#include <signal.h>

#include <csignal>

#include "platform/platform.h"

namespace kovrin::platform {

namespace {

volatile std::sig_atomic_t endingSignal = 0;

extern "C" void NoteEndingSignal(int signal) {
  if (endingSignal == 0) endingSignal = signal;
}

void Catch(int signal) {
  struct sigaction current {};
  if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = NoteEndingSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(signal, &action, nullptr);
}

}  // namespace

void CatchEndingSignals() {
  Catch(SIGINT);
  Catch(SIGTERM);
}

int EndingSignal() { return endingSignal; }

}  // namespace kovrin::platform
