// The launcher's command line: the window by default, or a run without one,
// or two results compared.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "launcher/cli/bench_plan.h"

namespace kovrin::cli {

// What the user asked for.
struct CommandLine {
  enum class Action { Window, Headless, Compare, Help, Version, Error };
  Action action = Action::Window;
  // Headless: where the JSON report goes; none without --json. Compare: where
  // the comparison goes as JSON.
  std::optional<std::string> jsonFile;
  // Headless: where the CSV rows go; none without --csv.
  std::optional<std::string> csvFile;
  // Headless: the result also goes into the results folder.
  bool save = false;
  // Headless: how long one run may take, from the start of its test program
  // until it has left its result and ended.
  int timeoutSeconds = 60;
  // Headless: how many times each setting is run, one right after the other.
  int repeat = 1;
  // Headless: the settings to run, in the default order.
  Matrix matrix = DefaultMatrix();
  // Compare: BASE and NEW, as given ("last" and "previous" unresolved).
  std::string compareBase;
  std::string compareNew;
  // Error: what was wrong, for "kovrin: <error>".
  std::string error;
};

// The arguments after the program name. Every option of a run only makes
// sense without a window, so any one of them alone asks for the headless run.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The text of --help and of --version.
std::string HelpText();
std::string VersionText();
// "1.0.54": the version the build was made from.
std::string VersionNumber();

// The exit code of a command line that could not be understood.
inline constexpr int kUsageExitCode = 2;

}  // namespace kovrin::cli
