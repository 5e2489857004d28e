// A stand-in for the window around the benchmark sequence: it records what
// the sequence asks for instead of doing it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "launcher/core/bench_sequence.h"

namespace kovrin::test::launcher {

class FakeEffects : public kovrin::launcher::LauncherEffects {
 public:
  std::string label;
  std::vector<kovrin::launcher::BenchRun> started;
  std::vector<std::string> messages;
  std::vector<int> endCodes;
  std::vector<std::pair<kovrin::launcher::BenchRun, int32_t>> collected;
  bool startSucceeds = true;
  // Called after a start is recorded, e.g. to play a test program that ends
  // at once.
  std::function<void(const kovrin::launcher::BenchRun&)> onStart;
  // Called while the message is "open", e.g. to let a timer tick re-enter.
  std::function<void()> whileMessageOpen;

  std::string ResultLabel() const override { return label; }
  void SetResultLabel(const std::string& text) override { label = text; }
  bool StartProgram(const kovrin::launcher::BenchRun& run) override {
    started.push_back(run);
    if (onStart) onStart(run);
    return startSucceeds;
  }
  void ShowCriticalMessage(const std::string& text) override {
    messages.push_back(text);
    if (whileMessageOpen) whileMessageOpen();
  }
  void EndLauncher(int exitCode) override { endCodes.push_back(exitCode); }
  void RunCollected(const kovrin::launcher::BenchRun& run, int32_t fps) override { collected.emplace_back(run, fps); }
};

}  // namespace kovrin::test::launcher
