// SIGINT and SIGTERM turned into a call on the event loop.
//
// A launcher ended by a signal must first end the test program it started
// and remove its hand-off files; none of that may happen inside a signal
// handler. The handler only writes the signal's number into a pipe, and the
// event loop calls back with it.
#pragma once

#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

namespace kovrin::cli {

class TerminationSignals {
 public:
  // One watcher at a time; the previous handlers come back when it goes.
  explicit TerminationSignals(std::function<void(int signal)> onSignal);
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  void Drain();

  int pipe_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
  std::function<void(int)> onSignal_;
};

// "SIGTERM", "SIGINT", or "signal N" for any other.
std::string SignalName(int signal);

// The exit code of a launcher ended by `signal`, as a shell reports it.
inline int SignalExitCode(int signal) { return 128 + signal; }

}  // namespace kovrin::cli
