// The state labels of the benchmark sequence and which step each one names.
//
// The run state is a short text. Every status tick hands the label to one
// runner (the dispatch below); the runner recognises only its own labels,
// exactly and case-sensitively, and does the one step the label names.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "launcher/core/results_table.h"

namespace kovrin::launcher {

inline constexpr std::string_view kFullBenchStart = "FullBenchStart";
inline constexpr std::string_view kFullBenchEnd = "FullBenchEnd";
inline constexpr std::string_view kCustomBench = "CustomBench";

// "Quillfire_2_1": the label under which run `index` waits for its result.
std::string WaitingLabel(std::size_t index);

// The label that starts run `index`: "FullBenchStart" for the very first run,
// "<waiting label>_Start" for every other.
std::string StartLabel(std::size_t index);

// The label a successful collect of run `index` leaves behind: the next run's
// start label, or "FullBenchEnd" after the last run.
std::string LabelAfterCollect(std::size_t index);

// Who gets the tick, tested in this order: "FullBenchStart" or a label
// beginning "Quillf" -> overdraw runner; "Lumavan" -> blending runner;
// "CustomBench" -> custom runner; "FULLBENCHEND" in any case -> finish.
enum class TickTarget { QuillfireRunner, LumavaneRunner, CustomRunner, Finish, Nothing };
TickTarget DispatchTarget(std::string_view benchState);

// The step a runner performs for a label it owns; nullopt for any label the
// runner does not know, including its own labels in another case.
struct RunStep {
  enum class Kind { Start, Collect };
  Kind kind;
  std::size_t run;  // index into kFullBenchmark
};
std::optional<RunStep> StepFor(TestProgram runner, std::string_view benchState);

}  // namespace kovrin::launcher
