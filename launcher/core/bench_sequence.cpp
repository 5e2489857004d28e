#include "launcher/core/bench_sequence.h"

#include <utility>

#include "launcher/core/bench_labels.h"
#include "launcher/core/config_file.h"
#include "launcher/core/launcher_text.h"
#include "launcher/core/result_rule.h"
#include "launcher/core/score.h"

namespace kovrin::launcher {

void LauncherEffects::RunCollected(const BenchRun&, int32_t) {}

BenchSequence::BenchSequence(HandoffFolder& folder, LauncherEffects& effects, ResultsTable& table,
                             std::string decimalSeparator)
    : folder_(folder), effects_(effects), table_(table), decimalSeparator_(std::move(decimalSeparator)) {}

std::optional<std::size_t> BenchSequence::WaitingRun() const {
  for (std::size_t i = 0; i < kFullBenchmark.size(); ++i) {
    if (benchState_ == WaitingLabel(i)) return i;
  }
  return std::nullopt;
}

void BenchSequence::RequestRun(bool fullBenchSelected) {
  benchState_ = std::string(fullBenchSelected ? kFullBenchStart : kCustomBench);
}

void BenchSequence::StatusTick() {
  if (inStep_ || ended_) return;
  inStep_ = true;
  struct Release {
    bool& flag;
    ~Release() { flag = false; }
  } release{inStep_};

  switch (DispatchTarget(benchState_)) {
    case TickTarget::QuillfireRunner:
      Quillfire_Bench();
      break;
    case TickTarget::LumavaneRunner:
      Lumavane_Bench();
      break;
    case TickTarget::CustomRunner:
      CustomBench();
      break;
    case TickTarget::Finish:
      CalcFPS();
      benchState_.clear();
      break;
    case TickTarget::Nothing:
      break;
  }
}

void BenchSequence::Quillfire_Bench() { RunnerStep(TestProgram::Quillfire); }
void BenchSequence::Lumavane_Bench() { RunnerStep(TestProgram::Lumavane); }

void BenchSequence::CustomBench() {
  if (benchState_ == kCustomBench) PurgeRunFiles();
}

void BenchSequence::RunnerStep(TestProgram runner) {
  const std::optional<RunStep> step = StepFor(runner, benchState_);
  if (!step) return;
  if (step->kind == RunStep::Kind::Start) {
    StartStep(step->run);
  } else {
    CollectStep(step->run);
  }
}

// Each stage stops the step when it fails; whatever was done before stays
// done and the next tick acts on the label as it then stands.
void BenchSequence::StartStep(std::size_t run) {
  if (run == 0) {
    // Before the first run the files may rightly be absent.
    ClearRunFiles();
  } else if (!PurgeRunFiles()) {
    return;
  }
  const BenchRun& next = kFullBenchmark[run];
  if (!CreateCfg(next.resIndex, next.depthIndex)) return;
  benchState_ = WaitingLabel(run);
  effects_.StartProgram(next);
}

void BenchSequence::CollectStep(std::size_t run) {
  const std::optional<std::string> content = folder_.Read(kResultFile);
  if (!content) return;
  const std::optional<int32_t> fps = ResultFromFile(*content, decimalSeparator_);
  if (!fps) return;
  const BenchRun& done = kFullBenchmark[run];
  table_.*done.field = *fps;
  benchState_ = LabelAfterCollect(run);
  effects_.RunCollected(done, *fps);
}

bool BenchSequence::CreateCfg(int resIndex, int depthIndex) {
  return folder_.Write(kConfigFile, ConfigFileText(resIndex, depthIndex));
}

void BenchSequence::CalcFPS() {
  const Score score = ComputeScore(table_, decimalSeparator_);
  table_.Result = score.result;
  effects_.SetResultLabel(score.label);
}

void BenchSequence::ClearRunFiles() {
  benchState_.clear();
  effects_.SetResultLabel(std::string());
  folder_.Remove(kConfigFile);
  folder_.Remove(kResultFile);
}

bool BenchSequence::PurgeRunFiles() {
  if (folder_.Remove(kConfigFile) && folder_.Remove(kResultFile)) {
    effects_.SetResultLabel(std::string());
    return true;
  }
  // No further step, not even from the message's own event loop.
  ended_ = true;
  effects_.ShowCriticalMessage(std::string(kCleanupFailureText));
  effects_.EndLauncher(kCleanupFailureExitCode);
  return false;
}

void BenchSequence::UnloadCleanup() {
  folder_.Remove(kConfigFile);
  folder_.Remove(kResultFile);
}

}  // namespace kovrin::launcher
