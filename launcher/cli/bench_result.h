// A command-line benchmark's result: every single run as it came, and per
// setting what its repeats add up to. The JSON file, the CSV file and the
// report on the terminal are all written from this one record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "launcher/cli/bench_plan.h"
#include "launcher/cli/repeat_stats.h"
#include "launcher/cli/run_mode.h"
#include "launcher/cli/run_report.h"
#include "launcher/cli/system_facts.h"
#include "launcher/core/score.h"

namespace kovrin::cli {

struct RunRecord {
  std::size_t setting = 0;  // index into BenchResult::settings
  int repeat = 1;
  int32_t fps = 0;  // the integer result of results.fps
  RunMode mode;
  std::vector<RunFlag> flags;
};

struct SettingSummary {
  int32_t fps = 0;  // IntegerMedian of the runs' integer results
  int32_t fpsMin = 0;
  int32_t fpsMax = 0;
  std::optional<RateRange> exact;  // over the runs that reported an exact rate
  int exactRuns = 0;               // how many did
};

struct BenchResult {
  Matrix matrix;
  int repeat = 1;
  std::vector<Setting> settings;
  std::vector<RunRecord> runs;            // in the order they were made
  std::vector<SettingSummary> summaries;  // one per setting
  kovrin::launcher::Score score;
  double scoreMean = 0;             // the score before rounding: the mean of the settings' integer medians
  std::optional<double> exactMean;  // the mean of the settings' exact medians
  // False for any matrix but the default: its score is a mean over other runs.
  bool comparable = true;
  std::string renderer;  // the first renderer a run reported
  std::optional<SystemFacts> system;
};

// The summaries, the score, the exact mean, the renderer and whether the
// score is comparable, from `settings`, `runs`, `matrix` and `repeat`.
void Summarise(BenchResult& result, std::string_view decimalSeparator);

// The line that says a score is not the default benchmark's.
inline constexpr std::string_view kNotComparableNote =
    "not comparable with the default benchmark's score: other tests, sizes or depths";

}  // namespace kovrin::cli
