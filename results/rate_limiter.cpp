#include "results/rate_limiter.h"

namespace kovrin::results {
namespace {

// A sweep costs a pass over all addresses; this many posts pay for one.
constexpr std::size_t kSweepEvery = 1024;

void DropExpired(std::deque<RateLimiter::Clock::time_point>& times, RateLimiter::Clock::time_point now) {
  while (!times.empty() && now - times.front() >= RateLimiter::kWindow) times.pop_front();
}

}  // namespace

bool RateLimiter::Allow(const std::string& client, Clock::time_point now) {
  if (limit_ <= 0) return true;
  const std::lock_guard lock(mutex_);
  if (++callsSinceSweep_ >= kSweepEvery) Sweep(now);
  std::deque<Clock::time_point>& times = posts_[client];
  DropExpired(times, now);
  if (times.size() >= static_cast<std::size_t>(limit_)) return false;
  times.push_back(now);
  return true;
}

std::size_t RateLimiter::Tracked() {
  const std::lock_guard lock(mutex_);
  return posts_.size();
}

void RateLimiter::Sweep(Clock::time_point now) {
  callsSinceSweep_ = 0;
  for (auto it = posts_.begin(); it != posts_.end();) {
    DropExpired(it->second, now);
    it = it->second.empty() ? posts_.erase(it) : std::next(it);
  }
}

}  // namespace kovrin::results
