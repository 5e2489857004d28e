#include "command_line.h"

#include <charconv>

#include "kovrin_version.h"

namespace cli {
namespace {

// Longer runs than a day are a typing error, not a slow card.
constexpr int kMaxTimeoutSeconds = 24 * 60 * 60;

std::optional<int> ParseSeconds(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || rest != end || value < 1 || value > kMaxTimeoutSeconds) return std::nullopt;
  return value;
}

CommandLine Fail(std::string error) {
  CommandLine line;
  line.action = CommandLine::Action::Error;
  line.error = std::move(error);
  return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      line.action = CommandLine::Action::Help;
      return line;
    }
    if (arg == "--version") {
      line.action = CommandLine::Action::Version;
      return line;
    }
    if (arg == "--headless") {
      line.action = CommandLine::Action::Headless;
    } else if (arg == "--json" || arg == "--timeout") {
      if (i + 1 == args.size()) return Fail(arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "--json") {
        if (value.empty()) return Fail("--json needs a file name");
        line.jsonFile = value;
      } else {
        const std::optional<int> seconds = ParseSeconds(value);
        if (!seconds) return Fail("--timeout needs a whole number of seconds from 1 to 86400, not '" + value + "'");
        line.timeoutSeconds = *seconds;
      }
      line.action = CommandLine::Action::Headless;
    } else {
      return Fail("unknown argument '" + arg + "'");
    }
  }
  return line;
}

std::string HelpText() {
  return "Usage: kovrin [--headless] [--json FILE] [--timeout SECONDS]\n"
         "\n"
         "Without options kovrin opens its window. With --headless it runs the default\n"
         "benchmark without one: twelve timed runs of Quillfire and Lumavane, a line\n"
         "as each run starts and ends, then the result details and the score.\n"
         "\n"
         "  --headless         run the default benchmark without a window\n"
         "  --json FILE        also write the results as JSON to FILE (implies --headless)\n"
         "  --timeout SECONDS  give up on a run that has not left its result and ended\n"
         "                     within SECONDS (default 60; implies --headless)\n"
         "  --help             show this help and exit\n"
         "  --version          show the version and exit\n"
         "\n"
         "Without a display (neither DISPLAY nor WAYLAND_DISPLAY set) the test programs\n"
         "draw offscreen. Their message boxes are answered with the default button and\n"
         "printed on stderr unless KOVRIN_MSGBOX says otherwise.\n"
         "\n"
         "The hand-off files config.cfg and results.fps are written beside the test\n"
         "programs. An installed copy, or one in a folder the user cannot write, works\n"
         "in $XDG_DATA_HOME/kovrin/run (~/.local/share/kovrin/run) instead.\n"
         "\n"
         "Exit status: 0 when the benchmark finished, 1 when it failed (a test program\n"
         "missing, a run without a result, a hand-off file that cannot be deleted or\n"
         "written, the JSON file not written, another kovrin running in the folder),\n"
         "2 for a command line it cannot use, 130 or 143 when SIGINT or SIGTERM ended\n"
         "it (the running test program is ended first, no JSON file is written).\n";
}

std::string VersionNumber() {
  return std::string(kKovrinVersion);
}

std::string VersionText() { return "kovrin " + VersionNumber() + "\n"; }

}  // namespace cli
