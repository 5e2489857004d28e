#include "message_queue.h"

#include <algorithm>

namespace plat {

void MessageQueue::Post(const MSG& msg) { posted_.push_back(msg); }

void MessageQueue::PostQuit(int exitCode) {
  quitPending_ = true;
  quitCode_ = exitCode;
}

void MessageQueue::SetTimer(HWND window, uintptr_t id, uint32_t periodMs, TIMERPROC proc,
                            uint64_t nowMs) {
  auto same = [&](const Timer& t) { return t.window == window && t.id == id; };
  auto it = std::find_if(timers_.begin(), timers_.end(), same);
  const Timer timer{window, id, periodMs, proc, nowMs};
  if (it != timers_.end()) {
    *it = timer;
  } else {
    timers_.push_back(timer);
  }
}

void MessageQueue::KillTimers(HWND window) {
  std::erase_if(timers_, [&](const Timer& t) { return t.window == window; });
}

bool MessageQueue::Peek(MSG& out, uint64_t nowMs) {
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
    if (nowMs - t.lastTickMs >= t.periodMs) {
      t.lastTickMs = nowMs;
      out = MSG{t.window, WM_TIMER, t.id, reinterpret_cast<intptr_t>(t.proc), nowMs};
      return true;
    }
  }
  return false;
}

}  // namespace plat
