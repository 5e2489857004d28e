// The timed run's exact figures: how many frames in how long, and how long
// each frame took. results.fps stays the frame count divided by 8; these are
// what lies behind it, printed with the diagnostics.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kovrin::framework {

// Frame times in microseconds, nearest rank: p50 is the smallest time that
// half of the frames do not exceed.
struct FrameTimes {
  uint32_t p50 = 0;
  uint32_t p90 = 0;
  uint32_t p99 = 0;
  uint32_t max = 0;
};

// Sorts `durations`. nullopt for no frames.
std::optional<FrameTimes> FrameTimesOf(std::span<uint32_t> durations);

enum class RunEnd { Ticks, Closed };

struct RunFigures {
  int32_t frames = 0;
  uint64_t runMicroseconds = 0;
  std::optional<FrameTimes> frameTimes;
  RunEnd end = RunEnd::Ticks;
  int32_t ticks = 0;
};

// The "[diag]" keys and values, in the order they are printed:
// frames, run_seconds, fps, frame_ms, run_end, ticks.
std::vector<std::pair<std::string, std::string>> RunFigureLines(const RunFigures& figures);

// Takes the time of every frame at the cost of one clock reading and one
// store: its buffer is allocated up front, so the loop it times allocates
// nothing. Times are microseconds on one monotonic clock.
class FrameClock {
 public:
  // Room for `capacity` frames; frames beyond it are counted by the caller
  // but not timed.
  explicit FrameClock(std::size_t capacity);

  void Start(uint64_t nowUs) {
    start_ = nowUs;
    count_ = 0;
  }
  // At the return of a frame's swap.
  void Frame(uint64_t nowUs) {
    if (count_ < capacity_) stamps_[count_++] = static_cast<uint32_t>(nowUs - start_);
  }
  uint64_t Since(uint64_t nowUs) const { return nowUs - start_; }

  // The frames' durations, the first one counted from the start. (Stamps are
  // kept as 32-bit microseconds since the start: enough for 71 minutes.) Turns the
  // buffer's stamps into durations: call once, after the run.
  std::span<uint32_t> TakeDurations();

 private:
  std::unique_ptr<uint32_t[]> stamps_;
  std::size_t capacity_;
  std::size_t count_ = 0;
  uint64_t start_ = 0;
};

}  // namespace kovrin::framework
