// At most so many posts a minute from one client address.
//
// A sliding minute: each address keeps the times of its accepted posts of
// the last 60 seconds, so the memory an address costs is bounded by the
// limit, and addresses that went quiet are swept out now and then.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

namespace kovrin::results {

class RateLimiter {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::seconds kWindow{60};

  // 0 switches the limit off.
  explicit RateLimiter(int postsPerMinute) : limit_(postsPerMinute) {}

  // Whether `client` may post at `now`; an allowed post is counted.
  bool Allow(const std::string& client, Clock::time_point now);

  // How many addresses are remembered (for tests of the sweep).
  std::size_t Tracked();

 private:
  void Sweep(Clock::time_point now);

  const int limit_;
  std::mutex mutex_;
  std::unordered_map<std::string, std::deque<Clock::time_point>> posts_;
  std::size_t callsSinceSweep_ = 0;
};

}  // namespace kovrin::results
