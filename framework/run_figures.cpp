#include "framework/run_figures.h"

#include <algorithm>
#include <cstdio>

namespace kovrin::framework {
namespace {

// Microseconds as milliseconds with three decimals, exactly.
std::string Milliseconds(uint32_t us) {
  char text[32];
  std::snprintf(text, sizeof text, "%u.%03u", us / 1000, us % 1000);
  return text;
}

std::string Seconds(uint64_t us) {
  char text[40];
  std::snprintf(text, sizeof text, "%llu.%06llu", static_cast<unsigned long long>(us / 1000000),
                static_cast<unsigned long long>(us % 1000000));
  return text;
}

std::string Rate(int32_t frames, uint64_t us) {
  char text[40];
  const double fps = us == 0 ? 0.0 : static_cast<double>(frames) * 1e6 / static_cast<double>(us);
  std::snprintf(text, sizeof text, "%.2f", fps);
  return text;
}

// Nearest rank: the value at position ceil(percent / 100 * n), counted from 1.
uint32_t Percentile(std::span<const uint32_t> sorted, std::size_t percent) {
  const std::size_t rank = std::max<std::size_t>((percent * sorted.size() + 99) / 100, 1);
  return sorted[rank - 1];
}

}  // namespace

std::optional<FrameTimes> FrameTimesOf(std::span<uint32_t> durations) {
  if (durations.empty()) return std::nullopt;
  std::sort(durations.begin(), durations.end());
  return FrameTimes{Percentile(durations, 50), Percentile(durations, 90), Percentile(durations, 99), durations.back()};
}

std::vector<std::pair<std::string, std::string>> RunFigureLines(const RunFigures& f) {
  std::string frameMs = "none";
  if (f.frameTimes) {
    const FrameTimes& t = *f.frameTimes;
    frameMs = "p50 " + Milliseconds(t.p50) + " p90 " + Milliseconds(t.p90) + " p99 " + Milliseconds(t.p99) + " max " +
              Milliseconds(t.max);
  }
  return {
      {"frames", std::to_string(f.frames)},
      {"run_seconds", Seconds(f.runMicroseconds)},
      {"fps", Rate(f.frames, f.runMicroseconds)},
      {"frame_ms", frameMs},
      {"run_end", f.end == RunEnd::Ticks ? "ticks" : "closed"},
      {"ticks", std::to_string(f.ticks)},
  };
}

FrameClock::FrameClock(std::size_t capacity) : stamps_(new uint32_t[capacity]), capacity_(capacity) {
  // Touched now, so the loop does not take the pages' first faults.
  std::fill_n(stamps_.get(), capacity_, 0u);
}

std::span<uint32_t> FrameClock::TakeDurations() {
  for (std::size_t i = count_; i-- > 1;) stamps_[i] -= stamps_[i - 1];
  const std::size_t count = count_;
  count_ = 0;
  return {stamps_.get(), count};
}

}  // namespace kovrin::framework
