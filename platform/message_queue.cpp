#include "platform/message_queue.h"

#include <algorithm>

namespace kovrin::platform {

void MessageQueue::Post(const MSG& msg) { posted_.push_back(msg); }

void MessageQueue::PostQuit(int exitCode) {
  quitPending_ = true;
  quitCode_ = exitCode;
}

void MessageQueue::SetTimer(HWND window, uintptr_t id, uint32_t periodMs, TIMERPROC proc, uint64_t nowUs) {
  auto same = [&](const Timer& t) { return t.window == window && t.id == id; };
  auto it = std::find_if(timers_.begin(), timers_.end(), same);
  // As with window timers, a shorter period is raised to 10 ms; a zero one
  // would fall due on every poll and never move on.
  const uint64_t periodUs = std::max<uint64_t>(periodMs, 10) * 1000;
  const Timer timer{window, id, periodUs, proc, nowUs + periodUs};
  if (it != timers_.end()) {
    *it = timer;
  } else {
    timers_.push_back(timer);
  }
}

void MessageQueue::KillTimers(HWND window) {
  std::erase_if(timers_, [&](const Timer& t) { return t.window == window; });
}

bool MessageQueue::Peek(MSG& out, uint64_t nowUs) {
  const uint64_t nowMs = nowUs / 1000;
  if (!posted_.empty()) {
    out = posted_.front();
    posted_.pop_front();
    return true;
  }
  if (quitPending_) {
    quitPending_ = false;
    out = MSG{nullptr, WM_QUIT, static_cast<uintptr_t>(quitCode_), 0, nowMs};
    return true;
  }
  for (Timer& t : timers_) {
    if (nowUs >= t.dueUs) {
      const uint64_t passed = (nowUs - t.dueUs) / t.periodUs + 1;
      t.dueUs += passed * t.periodUs;
      out = MSG{t.window, WM_TIMER, t.id, reinterpret_cast<intptr_t>(t.proc), nowMs};
      return true;
    }
  }
  return false;
}

}  // namespace kovrin::platform
