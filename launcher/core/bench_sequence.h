// The benchmark sequence: the run state, its status steps and the clean-ups.
//
// This is the whole behaviour of the main window's run: every status tick
// looks at the state label, does at most one step and stores the next label.
// It knows no window, no clock and no process API: the folder, the result
// label, the program start, the message and the end of the launcher are
// handed in, so the window and a command-line driver run the same steps.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "launcher/core/handoff_folder.h"
#include "launcher/core/results_table.h"

namespace kovrin::launcher {

// What the sequence needs from whoever runs it.
class LauncherEffects {
 public:
  virtual ~LauncherEffects() = default;
  // The result label: empty means there is no result.
  virtual std::string ResultLabel() const = 0;
  virtual void SetResultLabel(const std::string& text) = 0;
  // Starts the run's test program from the launcher's folder without waiting
  // for it. False when it could not be started.
  virtual bool StartProgram(const BenchRun& run) = 0;
  // A modal critical message with an OK button and the launcher's title;
  // returns once it is closed.
  virtual void ShowCriticalMessage(const std::string& text) = 0;
  // Ends the launcher at once, without the unload clean-up.
  virtual void EndLauncher(int exitCode) = 0;
  // Told after a run's frame rate has been stored, for drivers that report
  // progress.
  virtual void RunCollected(const BenchRun& run, int32_t fps);
};

// The exit code of a launcher that ended because the strict clean-up failed.
inline constexpr int kCleanupFailureExitCode = 1;

class BenchSequence {
 public:
  BenchSequence(HandoffFolder& folder, LauncherEffects& effects, ResultsTable& table, std::string decimalSeparator);

  const std::string& BenchState() const { return benchState_; }
  // Sets the label directly; the window's run button uses RequestRun.
  void SetBenchState(std::string label) { benchState_ = std::move(label); }
  // True once the sequence has ended the launcher; it takes no step after.
  bool Ended() const { return ended_; }
  // The run whose result the sequence waits for, if it waits for one.
  std::optional<std::size_t> WaitingRun() const;

  // The run button: "FullBenchStart" with the default benchmark selected,
  // "CustomBench" otherwise. The run begins at the next status tick.
  void RequestRun(bool fullBenchSelected);

  // One status tick: hands the label to its runner (or finishes). A tick that
  // arrives while a step is still in progress (a modal message's event loop)
  // is dropped.
  void StatusTick();

  // The runners: each does the one step its own label names.
  void Quillfire_Bench();
  void Lumavane_Bench();
  void CustomBench();

  // Writes config.cfg for the run indices. False when it cannot be written.
  bool CreateCfg(int resIndex, int depthIndex);
  // Sets Result and the result label from the twelve frame rates.
  void CalcFPS();
  // The lenient clear: state and label emptied, both files deleted if they
  // can be, every failure ignored. The results table stays.
  void ClearRunFiles();
  // The strict clean-up: delete config.cfg, delete results.fps, empty the
  // label, stopping at the first failure (a missing file is one). A failure
  // shows the refusal and ends the launcher; false is returned then.
  bool PurgeRunFiles();
  // The window's unload: both files deleted, failures ignored.
  void UnloadCleanup();

 private:
  void RunnerStep(TestProgram runner);
  void StartStep(std::size_t run);
  void CollectStep(std::size_t run);

  HandoffFolder& folder_;
  LauncherEffects& effects_;
  ResultsTable& table_;
  std::string decimalSeparator_;
  std::string benchState_;
  bool inStep_ = false;
  bool ended_ = false;
};

}  // namespace kovrin::launcher
