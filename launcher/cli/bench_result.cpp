#include "launcher/cli/bench_result.h"

#include <algorithm>

namespace kovrin::cli {

void Summarise(BenchResult& result, std::string_view decimalSeparator) {
  result.summaries.assign(result.settings.size(), SettingSummary{});
  std::vector<int32_t> medians;
  double exactSum = 0;
  std::size_t exactSettings = 0;
  for (std::size_t s = 0; s < result.settings.size(); ++s) {
    std::vector<int32_t> rates;
    std::vector<double> exact;
    for (const RunRecord& run : result.runs) {
      if (run.setting != s) continue;
      rates.push_back(run.fps);
      if (run.mode.exact.fps) exact.push_back(*run.mode.exact.fps);
    }
    if (rates.empty()) continue;
    SettingSummary& summary = result.summaries[s];
    summary.fps = IntegerMedian(rates);
    summary.fpsMin = *std::min_element(rates.begin(), rates.end());
    summary.fpsMax = *std::max_element(rates.begin(), rates.end());
    summary.exact = RangeOf(exact);
    summary.exactRuns = static_cast<int>(exact.size());
    medians.push_back(summary.fps);
    if (summary.exact) {
      exactSum += summary.exact->median;
      ++exactSettings;
    }
  }
  result.score = kovrin::launcher::ComputeScore(medians, decimalSeparator);
  double sum = 0;
  for (const int32_t median : medians) sum += median;
  result.scoreMean = medians.empty() ? 0 : sum / static_cast<double>(medians.size());
  result.exactMean = exactSettings == 0 ? std::nullopt : std::optional(exactSum / static_cast<double>(exactSettings));
  result.comparable = Ordered(result.matrix) == Ordered(DefaultMatrix());
  result.renderer.clear();
  for (const RunRecord& run : result.runs) {
    if (!run.mode.renderer.empty()) {
      result.renderer = run.mode.renderer;
      break;
    }
  }
}

}  // namespace kovrin::cli
