// The rules behind repeated runs and comparisons, table by table: medians,
// the unstable spread, the verdict, the score from medians, the option values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/cli/bench_plan.h"
#include "launcher/cli/repeat_stats.h"
#include "launcher/core/score.h"

namespace {

TEST(RepeatStats, IntegerMedianRoundsAHalfToEven) {
  struct Case {
    std::vector<int32_t> values;
    int32_t median;
  } const cases[] = {
      {{7}, 7}, {{9, 1, 5}, 5}, {{20, 21}, 20}, {{21, 22}, 22}, {{10, 20}, 15}, {{2147483647, 2147483646}, 2147483646},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(kovrin::cli::IntegerMedian(c.values), c.median) << "values starting " << c.values[0];
  }
}

TEST(RepeatStats, RangeAndUnstableSpread) {
  struct Case {
    std::vector<double> rates;
    double median, min, max;
    bool unstable;
  } const cases[] = {
      {{20.0}, 20.0, 20.0, 20.0, false},
      {{20.0, 21.0}, 20.5, 20.0, 21.0, false},         // 4.9 %
      {{100.0, 94.0, 99.0}, 99.0, 94.0, 100.0, true},  // 6.1 %
      {{0.0, 1.0}, 0.5, 0.0, 1.0, true},
  };
  for (const Case& c : cases) {
    const auto range = kovrin::cli::RangeOf(c.rates);
    ASSERT_TRUE(range);
    EXPECT_DOUBLE_EQ(range->median, c.median);
    EXPECT_EQ(range->min, c.min);
    EXPECT_EQ(range->max, c.max);
    EXPECT_EQ(range->unstable, c.unstable) << "median " << c.median << " spread " << range->spread;
  }
  EXPECT_FALSE(kovrin::cli::RangeOf({}));
}

TEST(RepeatStats, Verdicts) {
  using kovrin::cli::Verdict;
  const auto one = [](double v) { return kovrin::cli::RateRange{v, v, v, 0, false}; };
  const auto span = [](double lo, double mid, double hi) { return kovrin::cli::RateRange{mid, lo, hi, 0, false}; };
  struct Case {
    kovrin::cli::RateRange base;
    int baseRuns;
    kovrin::cli::RateRange next;
    int nextRuns;
    Verdict verdict;
  } const cases[] = {
      {one(100), 1, one(103), 1, Verdict::WithinNoise},
      {one(100), 1, one(97), 1, Verdict::WithinNoise},
      {one(100), 1, one(103.5), 1, Verdict::Faster},
      {one(100), 1, one(96), 1, Verdict::Slower},
      {span(95, 100, 105), 3, span(104, 110, 115), 3, Verdict::WithinNoise},
      {span(95, 100, 105), 3, span(105.5, 106, 107), 3, Verdict::Faster},
      {span(95, 100, 105), 3, one(101), 1, Verdict::WithinNoise},
      {span(99, 100, 101), 2, one(98), 1, Verdict::Slower},
      {one(20), 1, one(40), 1, Verdict::Faster},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(kovrin::cli::CompareRanges(c.base, c.baseRuns, c.next, c.nextRuns), c.verdict)
        << c.base.median << " vs " << c.next.median;
  }
}

TEST(RepeatStats, ScoreOfAnyNumberOfRates) {
  const std::vector<int32_t> rates{20, 21};
  const kovrin::launcher::Score score = kovrin::launcher::ComputeScore(rates, ".");
  EXPECT_EQ(score.result, 20) << "20.5 rounds to the even 20";
  EXPECT_EQ(score.label, "20.5 fps");
  EXPECT_EQ(kovrin::launcher::ComputeScore(std::vector<int32_t>{7, 8, 8}, ".").label, "7.6 fps");
}

TEST(BenchPlan, OptionValues) {
  std::string error;
  EXPECT_EQ(kovrin::cli::ParseSizes("1920x1080,640x480", error),
            (std::vector<kovrin::cli::ScreenSize>{{1920, 1080}, {640, 480}}));
  for (const char* bad : {"", "640", "640x", "x480", "0x480", "640x480,", "640x480,640x480", "16385x10", "64O x480"}) {
    error.clear();
    EXPECT_FALSE(kovrin::cli::ParseSizes(bad, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
  EXPECT_EQ(kovrin::cli::ParseDepths("32,16", error), (std::vector<int>{32, 16}));
  EXPECT_FALSE(kovrin::cli::ParseDepths("24", error));
  EXPECT_EQ(kovrin::cli::ParseRepeat("20", error), 20);
  EXPECT_FALSE(kovrin::cli::ParseRepeat("21", error));
  EXPECT_FALSE(kovrin::cli::ParseRepeat("0", error));
  EXPECT_FALSE(kovrin::cli::ParseTests("quillfire,quillfire", error));
}

TEST(BenchPlan, OrderAndTimeLeft) {
  kovrin::cli::Matrix matrix{{kovrin::launcher::TestProgram::Lumavane, kovrin::launcher::TestProgram::Quillfire},
                             {{1920, 1080}, {640, 480}},
                             {32, 16}};
  const auto settings = kovrin::cli::Settings(kovrin::cli::Ordered(matrix));
  ASSERT_EQ(settings.size(), 8u);
  EXPECT_EQ(kovrin::cli::SettingName(settings.front()), "Quillfire 640x480x16");
  EXPECT_EQ(kovrin::cli::SettingName(settings.back()), "Lumavane 1920x1080x32");
  const auto order = kovrin::cli::RunOrder(2, 3);
  ASSERT_EQ(order.size(), 6u);
  EXPECT_EQ(order[3].setting, 1u);
  EXPECT_EQ(order[3].repeat, 1);
  EXPECT_EQ(kovrin::cli::TimeLeftText(44.4), "about 44 s left");
  EXPECT_EQ(kovrin::cli::TimeLeftText(160), "about 2 min 40 s left");
  EXPECT_EQ(kovrin::cli::TimeLeftText(3900), "about 1 h 5 min left");
  EXPECT_EQ(kovrin::cli::EstimateSecondsLeft({8, 10}, 3), 27.0);
  EXPECT_FALSE(kovrin::cli::EstimateSecondsLeft({}, 3));
}

}  // namespace
