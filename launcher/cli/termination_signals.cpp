#include "launcher/cli/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace kovrin::cli {
namespace {

int g_writeEnd = -1;
struct sigaction g_previous[2];
constexpr int kSignals[2] = {SIGINT, SIGTERM};

void OnSignal(int signal) {
  const int saved = errno;
  const unsigned char number = static_cast<unsigned char>(signal);
  // A full pipe already holds a signal the loop has yet to see.
  [[maybe_unused]] const ssize_t ignored = ::write(g_writeEnd, &number, 1);
  errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
  if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
  g_writeEnd = pipe_[1];
  notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Drain(); });
  for (int i = 0; i < 2; ++i) {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(kSignals[i], &action, &g_previous[i]);
  }
}

TerminationSignals::~TerminationSignals() {
  if (pipe_[0] < 0) return;
  for (int i = 0; i < 2; ++i) ::sigaction(kSignals[i], &g_previous[i], nullptr);
  g_writeEnd = -1;
  notifier_.reset();
  ::close(pipe_[0]);
  ::close(pipe_[1]);
}

void TerminationSignals::Drain() {
  unsigned char number = 0;
  int first = 0;
  while (::read(pipe_[0], &number, 1) == 1) {
    if (first == 0) first = number;
  }
  if (first != 0 && onSignal_) onSignal_(first);
}

std::string SignalName(int signal) {
  if (signal == SIGINT) return "SIGINT";
  if (signal == SIGTERM) return "SIGTERM";
  if (signal == SIGKILL) return "SIGKILL";
  if (signal == SIGSEGV) return "SIGSEGV";
  if (signal == SIGABRT) return "SIGABRT";
  return "signal " + std::to_string(signal);
}

}  // namespace kovrin::cli
