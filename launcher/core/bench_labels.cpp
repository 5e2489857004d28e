#include "launcher/core/bench_labels.h"

#include <algorithm>
#include <cctype>

namespace kovrin::launcher {

std::string WaitingLabel(std::size_t index) {
  const BenchRun& run = kFullBenchmark.at(index);
  return std::string(ProgramName(run.test)) + "_" + std::to_string(run.resIndex) + "_" + std::to_string(run.depthIndex);
}

std::string StartLabel(std::size_t index) {
  if (index == 0) return std::string(kFullBenchStart);
  return WaitingLabel(index) + "_Start";
}

std::string LabelAfterCollect(std::size_t index) {
  if (index + 1 >= kFullBenchmark.size()) return std::string(kFullBenchEnd);
  return StartLabel(index + 1);
}

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
  });
}

}  // namespace

TickTarget DispatchTarget(std::string_view benchState) {
  if (benchState == kFullBenchStart || benchState.starts_with("Quillf")) {
    return TickTarget::QuillfireRunner;
  }
  if (benchState.starts_with("Lumavan")) return TickTarget::LumavaneRunner;
  if (benchState.starts_with(kCustomBench)) return TickTarget::CustomRunner;
  if (EqualsIgnoringCase(benchState, kFullBenchEnd)) return TickTarget::Finish;
  return TickTarget::Nothing;
}

std::optional<RunStep> StepFor(TestProgram runner, std::string_view benchState) {
  for (std::size_t i = 0; i < kFullBenchmark.size(); ++i) {
    if (kFullBenchmark[i].test != runner) continue;
    if (benchState == StartLabel(i)) return RunStep{RunStep::Kind::Start, i};
    if (benchState == WaitingLabel(i)) return RunStep{RunStep::Kind::Collect, i};
  }
  return std::nullopt;
}

}  // namespace kovrin::launcher
