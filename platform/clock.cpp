// The layer's clock. The timed run's figures are read from it once a frame,
// so it has to be monotonic and fine enough to time a frame of a few
// hundred microseconds.
#include <chrono>

#include "platform/platform.h"

namespace kovrin::platform {
namespace {

using Clock = std::chrono::steady_clock;
static_assert(Clock::is_steady);
static_assert(std::ratio_less_equal_v<Clock::period, std::micro>, "the clock must resolve microseconds");

const Clock::time_point kStart = Clock::now();

}  // namespace

uint64_t TickUs() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - kStart).count());
}

uint64_t TickMs() { return TickUs() / 1000; }

}  // namespace kovrin::platform
