// The thread's message queue with window-timer semantics, kept free of any
// window system so its rules can be tested with a fake clock.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/platform.h"

namespace kovrin::platform {

class MessageQueue {
 public:
  void Post(const MSG& msg);
  void PostQuit(int exitCode);
  // Starts or restarts the timer (window, id) at nowUs: it falls due at
  // nowUs + k * period, k = 1, 2, ...
  void SetTimer(HWND window, uintptr_t id, uint32_t periodMs, TIMERPROC proc, uint64_t nowUs);
  void KillTimers(HWND window);
  // Posted messages first, then the quit request, then at most one due timer.
  // Due times that passed while nobody polled collapse into that one tick,
  // and the timer's next due time is the first one still ahead of nowUs, so
  // late ticks neither bunch up nor push the later ones back.
  bool Peek(MSG& out, uint64_t nowUs);

 private:
  struct Timer {
    HWND window;
    uintptr_t id;
    uint64_t periodUs;
    TIMERPROC proc;
    uint64_t dueUs;
  };
  std::deque<MSG> posted_;
  bool quitPending_ = false;
  int quitCode_ = 0;
  std::vector<Timer> timers_;
};

}  // namespace kovrin::platform
