// How the headless run reports a run beyond its integer result: the exact
// rate beside it, and the flags of a run that is not what it claims to be
// (cut short, windowed, another size, other colour bits, synchronised to the
// display). A flagged run is still reported; the flags say why its figure
// should not be compared with others'.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "launcher/cli/run_mode.h"
#include "launcher/core/results_table.h"

namespace kovrin::cli {

// What a run asked for. The default benchmark always asks for full screen.
struct RunRequest {
  int width = 0;
  int height = 0;
  int depth = 0;
  bool fullscreen = true;
};

RunRequest RequestOf(const kovrin::launcher::BenchRun& run);

struct RunFlag {
  std::string_view name;  // "cut-short", "windowed", "size", "colour-bits", "vsync"
  std::string detail;     // what was asked for and what was obtained
};

// The run's flags from what it reported; a value it did not report raises no
// flag.
std::vector<RunFlag> RunFlags(const RunRequest& request, const RunMode& mode);

// " (5.73 exact, p99 frame 190.2 ms)" after the integer result; empty when
// the program reported no exact rate.
std::string ExactSuffix(const ExactFigures& exact);

// "Exact mean: 28.91 fps", over the runs that reported an exact rate.
std::string ExactMeanLine(const std::vector<ExactFigures>& runs);

// "Flagged: 6 of 12 runs: colour-bits 6 (...)" or "Flagged: none of 12 runs".
std::string FlagSummaryLine(const std::vector<std::vector<RunFlag>>& runs);

}  // namespace kovrin::cli
