#include "run_mode.h"

#include <charconv>

namespace cli {
namespace {

// The leading integer of "32 (R8 G8 B8 A8)" or "-1".
std::optional<int> LeadingInt(std::string_view text) {
  int value = 0;
  const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc()) return std::nullopt;
  if (rest != text.data() + text.size() && *rest != ' ') return std::nullopt;
  return value;
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
  if (key == "fullscreen") {
    mode.fullscreen = YesNo(value);
  } else if (key == "color_bits") {
    mode.colorBits = LeadingInt(value);
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

}  // namespace cli
