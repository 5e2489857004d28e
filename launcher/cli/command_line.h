// The launcher's command line: the window by default, or a run without one.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli {

// What the user asked for.
struct CommandLine {
  enum class Action { Window, Headless, Help, Version, Error };
  Action action = Action::Window;
  // Headless: where the JSON report goes; none without --json.
  std::optional<std::string> jsonFile;
  // Headless: how long one run may take, from the start of its test program
  // until it has left its result and ended.
  int timeoutSeconds = 60;
  // Error: what was wrong, for "kovrin: <error>".
  std::string error;
};

// The arguments after the program name. --json and --timeout only make sense
// without a window, so either one alone asks for the headless run.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The text of --help and of --version.
std::string HelpText();
std::string VersionText();
// "1.0.54": the version the build was made from.
std::string VersionNumber();

// The exit code of a command line that could not be understood.
inline constexpr int kUsageExitCode = 2;

}  // namespace cli
