#include "launcher/cli/run_report.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

namespace kovrin::cli {
namespace {

using Check = std::optional<std::string> (*)(const RunRequest&, const RunMode&);

struct FlagRule {
  std::string_view name;
  std::string_view meaning;  // for the summary
  Check check;
};

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Size(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

// "640x480" at the start of a text, whatever follows after a blank.
std::optional<std::pair<int, int>> LeadingSize(std::string_view text) {
  int width = 0, height = 0;
  const char* end = text.data() + text.size();
  const auto [afterWidth, e1] = std::from_chars(text.data(), end, width);
  if (e1 != std::errc() || afterWidth == end || *afterWidth != 'x') return std::nullopt;
  const auto [afterHeight, e2] = std::from_chars(afterWidth + 1, end, height);
  if (e2 != std::errc() || (afterHeight != end && *afterHeight != ' ')) return std::nullopt;
  return std::pair{width, height};
}

// The refresh rate in "640x480 24 bpp 60 Hz ..."; nullopt when not stated or 0.
std::optional<double> RefreshHz(std::string_view displayMode) {
  const std::size_t hz = displayMode.find(" Hz");
  if (hz == std::string_view::npos) return std::nullopt;
  const std::size_t start = displayMode.rfind(' ', hz - 1);
  const std::string_view number = displayMode.substr(start == std::string_view::npos ? 0 : start + 1,
                                                     hz - (start == std::string_view::npos ? 0 : start + 1));
  double rate = 0;
  const auto [rest, error] = std::from_chars(number.data(), number.data() + number.size(), rate);
  if (error != std::errc() || rest != number.data() + number.size() || rate <= 0) return std::nullopt;
  return rate;
}

// The red, green and blue bits a depth stands for: alpha and padding are not
// colour, and a 16-bit mode may be 5-5-5 or 5-6-5.
bool ColourMatches(int depth, int rgbBits) {
  switch (depth) {
    case 16:
      return rgbBits == 15 || rgbBits == 16;
    case 32:
      return rgbBits == 24;
    default:
      return rgbBits == depth;
  }
}

std::optional<std::string> CutShort(const RunRequest&, const RunMode& mode) {
  if (mode.exact.end != "closed") return std::nullopt;
  return "closed after " + (mode.exact.ticks ? std::to_string(*mode.exact.ticks) : std::string("?")) + " of 8 ticks";
}

std::optional<std::string> Windowed(const RunRequest& request, const RunMode& mode) {
  if (!request.fullscreen || mode.fullscreen.value_or(true)) return std::nullopt;
  return std::string("full screen asked for, drawn in a window");
}

std::optional<std::string> WrongSize(const RunRequest& request, const RunMode& mode) {
  const std::pair wanted{request.width, request.height};
  for (const auto& [what, text] : {std::pair{"window", &mode.window}, std::pair{"drawable", &mode.drawable}}) {
    const auto got = LeadingSize(*text);
    if (got && *got != wanted) {
      return Size(request.width, request.height) + " asked for, " + what + " " + Size(got->first, got->second);
    }
  }
  return std::nullopt;
}

std::optional<std::string> ColourBits(const RunRequest& request, const RunMode& mode) {
  if (!mode.rgbBits || ColourMatches(request.depth, *mode.rgbBits)) return std::nullopt;
  return std::to_string(request.depth) + " bits per pixel asked for, drawn with " + std::to_string(*mode.rgbBits) +
         "-bit colour";
}

std::optional<std::string> Vsync(const RunRequest&, const RunMode& mode) {
  if (mode.swapInterval && *mode.swapInterval != 0) {
    return "swap interval " + std::to_string(*mode.swapInterval);
  }
  const std::optional<double> hz = RefreshHz(mode.displayMode);
  if (hz && mode.exact.fps && std::fabs(*mode.exact.fps - *hz) <= 0.02 * *hz) {
    return Fixed(*mode.exact.fps, 2) + " fps on a " + Fixed(*hz, 0) + " Hz display";
  }
  return std::nullopt;
}

constexpr FlagRule kRules[] = {
    {"cut-short", "closed before the eighth tick", CutShort},
    {"windowed", "full screen asked for, not obtained", Windowed},
    {"size", "window or drawable not the size asked for", WrongSize},
    {"colour-bits", "colour bits other than the depth asked for", ColourBits},
    {"vsync", "synchronised to the display", Vsync},
};

}  // namespace

RunRequest RequestOf(const kovrin::launcher::BenchRun& run) {
  return {kovrin::launcher::ResolutionWidth(run.resIndex), kovrin::launcher::ResolutionHeight(run.resIndex),
          kovrin::launcher::DepthBits(run.depthIndex)};
}

std::vector<RunFlag> RunFlags(const RunRequest& request, const RunMode& mode) {
  std::vector<RunFlag> flags;
  for (const FlagRule& rule : kRules) {
    if (std::optional<std::string> detail = rule.check(request, mode)) flags.push_back({rule.name, std::move(*detail)});
  }
  return flags;
}

std::string ExactSuffix(const ExactFigures& exact) {
  if (!exact.fps) return {};
  std::string text = " (" + Fixed(*exact.fps, 2) + " exact";
  if (exact.p99) text += ", p99 frame " + Fixed(*exact.p99, 1) + " ms";
  return text + ")";
}

std::string ExactMeanLine(const std::vector<ExactFigures>& runs) {
  double sum = 0;
  std::size_t reported = 0;
  for (const ExactFigures& run : runs) {
    if (!run.fps) continue;
    sum += *run.fps;
    ++reported;
  }
  if (reported == 0) return "Exact mean: not reported";
  std::string line = "Exact mean: " + Fixed(sum / static_cast<double>(reported), 2) + " fps";
  if (reported < runs.size()) {
    line += " (over the " + std::to_string(reported) + " of " + std::to_string(runs.size()) + " runs that reported it)";
  }
  return line;
}

std::string FlagSummaryLine(const std::vector<std::vector<RunFlag>>& runs) {
  std::size_t flagged = 0;
  for (const auto& flags : runs) flagged += flags.empty() ? 0 : 1;
  const std::string total = std::to_string(runs.size());
  if (flagged == 0) return "Flagged: none of " + total + " runs";
  std::string line = "Flagged: " + std::to_string(flagged) + " of " + total + " runs:";
  const char* separator = " ";
  for (const FlagRule& rule : kRules) {
    std::size_t count = 0;
    for (const auto& flags : runs) {
      for (const RunFlag& flag : flags) count += flag.name == rule.name ? 1 : 0;
    }
    if (count == 0) continue;
    line += separator + std::string(rule.name) + " " + std::to_string(count) + " (" + std::string(rule.meaning) + ")";
    separator = ", ";
  }
  return line;
}

}  // namespace kovrin::cli
