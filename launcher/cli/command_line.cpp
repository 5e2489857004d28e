#include "launcher/cli/command_line.h"

#include <charconv>

#include "kovrin_version.h"

namespace kovrin::cli {
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

bool TakesValue(const std::string& arg) {
  for (const char* option :
       {"--json", "--timeout", "--csv", "--submit", "--repeat", "--tests", "--sizes", "--depths"}) {
    if (arg == option) return true;
  }
  return false;
}

// Sets the option's value in `line`; the reason it cannot when it cannot.
std::optional<std::string> TakeValue(const std::string& arg, const std::string& value, CommandLine& line) {
  std::string error;
  if (arg == "--json" || arg == "--csv") {
    if (value.empty()) return arg + " needs a file name";
    (arg == "--json" ? line.jsonFile : line.csvFile) = value;
  } else if (arg == "--submit") {
    if (!value.starts_with("http://") && !value.starts_with("https://")) {
      return "--submit needs the http:// or https:// URL of a results service, not '" + value + "'";
    }
    line.submitUrl = value;
  } else if (arg == "--timeout") {
    const std::optional<int> seconds = ParseSeconds(value);
    if (!seconds) return "--timeout needs a whole number of seconds from 1 to 86400, not '" + value + "'";
    line.timeoutSeconds = *seconds;
  } else if (arg == "--repeat") {
    const std::optional<int> repeat = ParseRepeat(value, error);
    if (!repeat) return error;
    line.repeat = *repeat;
  } else if (arg == "--tests") {
    auto tests = ParseTests(value, error);
    if (!tests) return error;
    line.matrix.tests = std::move(*tests);
  } else if (arg == "--sizes") {
    auto sizes = ParseSizes(value, error);
    if (!sizes) return error;
    line.matrix.sizes = std::move(*sizes);
  } else {
    auto depths = ParseDepths(value, error);
    if (!depths) return error;
    line.matrix.depths = std::move(*depths);
  }
  return std::nullopt;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  // The first option that only a run takes, for the message when --compare comes too.
  std::string runOption;
  bool compare = false;
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
    if (arg == "--compare") {
      if (compare) return Fail("--compare comes twice");
      if (i + 2 >= args.size()) return Fail("--compare needs two result files, BASE and NEW");
      line.compareBase = args[++i];
      line.compareNew = args[++i];
      if (line.compareBase.empty() || line.compareNew.empty()) return Fail("--compare needs two file names");
      compare = true;
      continue;
    }
    if (arg == "--headless" || arg == "--save") {
      if (arg == "--save") line.save = true;
    } else if (TakesValue(arg)) {
      if (i + 1 == args.size()) return Fail(arg + " needs a value");
      if (const std::optional<std::string> error = TakeValue(arg, args[++i], line)) return Fail(*error);
    } else {
      return Fail("unknown argument '" + arg + "'");
    }
    if (arg != "--json" && runOption.empty()) runOption = arg;
    line.action = CommandLine::Action::Headless;
  }
  if (compare) {
    if (!runOption.empty()) return Fail("--compare takes only --json besides its two files, not " + runOption);
    line.action = CommandLine::Action::Compare;
  }
  line.matrix = Ordered(std::move(line.matrix));
  return line;
}

std::string HelpText() {
  return "Usage: kovrin [--headless] [--json FILE] [--timeout SECONDS]\n"
         "              [--repeat N] [--tests LIST] [--sizes LIST] [--depths LIST]\n"
         "              [--csv FILE] [--save] [--submit URL]\n"
         "       kovrin --compare BASE NEW [--json FILE]\n"
         "\n"
         "Without options kovrin opens its window. With --headless it runs the default\n"
         "benchmark without one: twelve timed runs of Quillfire and Lumavane, a line\n"
         "as each run starts and ends, then the result details and the score.\n"
         "\n"
         "  --headless         run the default benchmark without a window\n"
         "  --json FILE        also write the results as JSON to FILE (implies --headless)\n"
         "  --timeout SECONDS  give up on a run that has not left its result and ended\n"
         "                     within SECONDS (default 60; implies --headless)\n"
         "  --repeat N         make each run N times in a row, 1 to 20 (default 1); each\n"
         "                     setting is reported by the median of its exact rates, with\n"
         "                     the lowest and highest, and flagged unstable when they lie\n"
         "                     more than 5 % of the median apart (implies --headless)\n"
         "  --tests LIST       the tests to run: quillfire,lumavane (the default)\n"
         "  --sizes LIST       the sizes to run, WIDTHxHEIGHT, such as 1920x1080\n"
         "                     (default 640x480,1024x768,1600x1200)\n"
         "  --depths LIST      the colour depths to run: 16,32 (the default)\n"
         "                     Runs are made in the default order whatever the order\n"
         "                     given; a score of other runs than the default twelve is\n"
         "                     not comparable with the default benchmark's (all three\n"
         "                     imply --headless)\n"
         "  --csv FILE         also write one row per run as CSV to FILE (implies\n"
         "                     --headless)\n"
         "  --save             also keep the result in $XDG_DATA_HOME/kovrin/results\n"
         "                     (~/.local/share/kovrin/results; implies --headless)\n"
         "  --submit URL       also post the result file to the results service at URL\n"
         "                     (kovrin-results); a failed post ends with status 1,\n"
         "                     the result files are written all the same (implies\n"
         "                     --headless)\n"
         "  --compare BASE NEW compare two result files of --json or --save, setting by\n"
         "                     setting; 'last' and 'previous' name the newest two saved\n"
         "                     results; with --json FILE the comparison goes to FILE too\n"
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
         "Exit status: 0 when the benchmark finished or the results were compared, 1\n"
         "when it failed (a test program missing, a run without a result, a hand-off\n"
         "file that cannot be deleted or written, a result file not written or not\n"
         "submitted, another\n"
         "kovrin running in the folder), 2 for a command line it cannot use or a file\n"
         "--compare cannot read as a result, 130 or 143 when SIGINT or SIGTERM ended\n"
         "it (the running test program is ended first, no result file is written).\n";
}

std::string VersionNumber() { return std::string(kKovrinVersion); }

std::string VersionText() { return "kovrin " + VersionNumber() + "\n"; }

}  // namespace kovrin::cli
