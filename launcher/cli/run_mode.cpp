#include "launcher/cli/run_mode.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kovrin::cli {
namespace {

// The leading integer of "32 (R8 G8 B8 A8)" or "-1".
std::optional<int> LeadingInt(std::string_view text) {
  int value = 0;
  const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc()) return std::nullopt;
  if (rest != text.data() + text.size() && *rest != ' ') return std::nullopt;
  return value;
}

// A count, a length or a rate: finite and not negative ("inf" and "nan" would
// pass from_chars and then poison the mean and the JSON).
std::optional<double> Decimal(std::string_view text) {
  double value = 0;
  const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || rest != text.data() + text.size() || !std::isfinite(value) || value < 0) {
    return std::nullopt;
  }
  return value;
}

// The sum of R, G and B in "24 (R8 G8 B8 A0)".
std::optional<int> RgbBits(std::string_view text) {
  int sum = 0;
  for (const std::string_view component : {"(R", " G", " B"}) {
    const std::size_t at = text.find(component);
    if (at == std::string_view::npos) return std::nullopt;
    const std::string_view digits = text.substr(at + component.size());
    int bits = 0;
    if (std::from_chars(digits.data(), digits.data() + digits.size(), bits).ec != std::errc()) return std::nullopt;
    sum += bits;
  }
  return sum;
}

// "p50 A p90 B p99 C max D"; "none" (no frame) leaves them absent.
void TakeFrameTimes(std::string_view text, ExactFigures& exact) {
  std::optional<double>* const slots[] = {&exact.p50, &exact.p90, &exact.p99, &exact.max};
  const std::string_view names[] = {"p50", "p90", "p99", "max"};
  std::optional<double> values[4];
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos || text.substr(0, space) != names[i]) return;
    text.remove_prefix(space + 1);
    const std::size_t end = std::min(text.find(' '), text.size());
    values[i] = Decimal(text.substr(0, end));
    if (!values[i]) return;
    text.remove_prefix(end == text.size() ? end : end + 1);
  }
  for (std::size_t i = 0; i < 4; ++i) *slots[i] = values[i];
}

// The timed run's figures; false for any other key.
bool TakeExactFigure(std::string_view key, std::string_view value, ExactFigures& exact) {
  if (key == "frames") {
    long long frames = 0;
    const auto [rest, error] = std::from_chars(value.data(), value.data() + value.size(), frames);
    exact.frames = error == std::errc() && rest == value.data() + value.size() ? std::optional(frames) : std::nullopt;
  } else if (key == "run_seconds") {
    exact.seconds = Decimal(value);
  } else if (key == "fps") {
    exact.fps = Decimal(value);
  } else if (key == "frame_ms") {
    TakeFrameTimes(value, exact);
  } else if (key == "run_end") {
    exact.end = value == "ticks" || value == "closed" ? std::string(value) : std::string();
  } else if (key == "ticks") {
    exact.ticks = LeadingInt(value);
  } else {
    return false;
  }
  return true;
}

std::optional<bool> YesNo(std::string_view text) {
  if (text == "yes") return true;
  if (text == "no") return false;
  return std::nullopt;
}

}  // namespace

bool TakeDiagLine(std::string_view line, RunMode& mode) {
  if (line.substr(0, kDiagPrefix.size()) != kDiagPrefix) return false;
  line.remove_prefix(kDiagPrefix.size());
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::size_t colon = line.find(": ");
  if (colon == std::string_view::npos) return true;
  const std::string_view key = line.substr(0, colon);
  const std::string_view value = line.substr(colon + 2);
  if (TakeExactFigure(key, value, mode.exact)) return true;
  if (key == "fullscreen") {
    mode.fullscreen = YesNo(value);
  } else if (key == "color_bits") {
    mode.colorBits = LeadingInt(value);
    mode.rgbBits = RgbBits(value);
  } else if (key == "depth_bits") {
    mode.depthBits = LeadingInt(value);
  } else if (key == "swap_interval") {
    mode.swapInterval = LeadingInt(value);
  } else if (key == "window") {
    mode.window = value;
  } else if (key == "drawable") {
    mode.drawable = value;
  } else if (key == "presentation") {
    mode.presentation = value;
  } else if (key == "display_mode") {
    mode.displayMode = value;
  } else if (key == "video_driver") {
    mode.videoDriver = value;
  } else if (key == "renderer") {
    mode.renderer = value;
  }
  return true;
}

}  // namespace kovrin::cli
