// The timed run's exact figures: percentiles, the diagnostics' text and the
// frame clock's bookkeeping.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "framework/run_figures.h"

using kovrin::framework::FrameClock;
using kovrin::framework::FrameTimes;
using kovrin::framework::FrameTimesOf;
using kovrin::framework::RunEnd;
using kovrin::framework::RunFigureLines;
using kovrin::framework::RunFigures;

namespace {

TEST(FrameTimesOf, NearestRankPercentiles) {
  struct Case {
    std::vector<uint32_t> durations;
    FrameTimes expected;
  };
  std::vector<uint32_t> hundred(100);
  std::iota(hundred.begin(), hundred.end(), 1u);
  std::shuffle(hundred.begin(), hundred.end(), std::mt19937(7));
  std::vector<uint32_t> twoHundred(200);
  std::iota(twoHundred.begin(), twoHundred.end(), 1u);
  const Case cases[] = {
      {{5}, {5, 5, 5, 5}},
      {{3, 1}, {1, 3, 3, 3}},
      {{10, 20, 30, 40, 50, 60, 70, 80, 90, 1000}, {50, 90, 1000, 1000}},
      {hundred, {50, 90, 99, 100}},
      {twoHundred, {100, 180, 198, 200}},
  };
  for (Case c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.durations.size()) + " frames");
    const std::optional<FrameTimes> t = FrameTimesOf(c.durations);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->p50, c.expected.p50);
    EXPECT_EQ(t->p90, c.expected.p90);
    EXPECT_EQ(t->p99, c.expected.p99);
    EXPECT_EQ(t->max, c.expected.max);
  }
  std::vector<uint32_t> none;
  EXPECT_FALSE(FrameTimesOf(none).has_value());
}

using Lines = std::vector<std::pair<std::string, std::string>>;

TEST(RunFigureLines, KeysInOrderWithTheirPrecision) {
  struct Case {
    RunFigures figures;
    Lines expected;
  };
  const Case cases[] = {
      {{19, 8'123'456, FrameTimes{417, 12'000, 190'200, 2'500'001}, RunEnd::Ticks, 8},
       {{"frames", "19"},
        {"run_seconds", "8.123456"},
        {"fps", "2.34"},
        {"frame_ms", "p50 0.417 p90 12.000 p99 190.200 max 2500.001"},
        {"run_end", "ticks"},
        {"ticks", "8"}}},
      {{600, 3'000'001, FrameTimes{5'000, 5'001, 5'010, 9'999}, RunEnd::Closed, 2},
       {{"frames", "600"},
        {"run_seconds", "3.000001"},
        {"fps", "200.00"},
        {"frame_ms", "p50 5.000 p90 5.001 p99 5.010 max 9.999"},
        {"run_end", "closed"},
        {"ticks", "2"}}},
      // Closed before the first frame was finished.
      {{0, 40'000, std::nullopt, RunEnd::Closed, 0},
       {{"frames", "0"},
        {"run_seconds", "0.040000"},
        {"fps", "0.00"},
        {"frame_ms", "none"},
        {"run_end", "closed"},
        {"ticks", "0"}}},
      {{7, 0, std::nullopt, RunEnd::Closed, 0},
       {{"frames", "7"},
        {"run_seconds", "0.000000"},
        {"fps", "0.00"},
        {"frame_ms", "none"},
        {"run_end", "closed"},
        {"ticks", "0"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.figures.frames) + " frames");
    EXPECT_EQ(RunFigureLines(c.figures), c.expected);
  }
}

TEST(FrameClock, FramesRunFromOneSwapToTheNextTheFirstFromTheStart) {
  FrameClock clock(8);
  clock.Start(1'000'000);
  for (const uint64_t at : {1'000'100ull, 1'000'350ull, 1'000'350ull, 1'250'350ull}) clock.Frame(at);
  EXPECT_EQ(clock.Since(9'000'500), 8'000'500u);
  const std::span<uint32_t> d = clock.TakeDurations();
  EXPECT_EQ(std::vector<uint32_t>(d.begin(), d.end()), (std::vector<uint32_t>{100, 250, 0, 250'000}));
}

TEST(FrameClock, FramesBeyondItsRoomAreNotTimedAndNothingIsOverwritten) {
  FrameClock clock(2);
  clock.Start(0);
  for (const uint64_t at : {10ull, 30ull, 60ull, 100ull}) clock.Frame(at);
  const std::span<uint32_t> d = clock.TakeDurations();
  EXPECT_EQ(std::vector<uint32_t>(d.begin(), d.end()), (std::vector<uint32_t>{10, 20}));
  // A second run starts empty.
  clock.Start(500);
  clock.Frame(505);
  EXPECT_EQ(clock.TakeDurations().size(), 1u);
}

}  // namespace
