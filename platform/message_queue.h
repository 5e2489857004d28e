// The thread's message queue with window-timer semantics, kept free of any
// window system so its rules can be tested with a fake clock.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "platform.h"

namespace plat {

class MessageQueue {
 public:
  void Post(const MSG& msg);
  void PostQuit(int exitCode);
  // Starts or restarts the timer (window, id); its first tick is due one
  // period after nowMs.
  void SetTimer(HWND window, uintptr_t id, uint32_t periodMs, TIMERPROC proc, uint64_t nowMs);
  void KillTimers(HWND window);
  // Posted messages first, then the quit request, then at most one due timer.
  // A timer's next tick is due one period after the tick was taken, so ticks
  // never queue up behind a long frame.
  bool Peek(MSG& out, uint64_t nowMs);

 private:
  struct Timer {
    HWND window;
    uintptr_t id;
    uint32_t periodMs;
    TIMERPROC proc;
    uint64_t lastTickMs;
  };
  std::deque<MSG> posted_;
  bool quitPending_ = false;
  int quitCode_ = 0;
  std::vector<Timer> timers_;
};

}  // namespace plat
