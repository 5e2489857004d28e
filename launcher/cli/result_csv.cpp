#include "launcher/cli/result_csv.h"

#include <charconv>
#include <optional>

namespace kovrin::cli {
namespace {

// The shortest text that reads back as the same double, as the JSON file has it.
std::string Number(double value) {
  char text[64];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return error == std::errc() ? std::string(text, end) : std::string();
}

template <typename T>
std::string Optional(const std::optional<T>& value) {
  if (!value) return {};
  if constexpr (std::is_same_v<T, double>) {
    return Number(*value);
  } else if constexpr (std::is_same_v<T, bool>) {
    return *value ? "true" : "false";
  } else {
    return std::to_string(*value);
  }
}

std::string Flags(const std::vector<RunFlag>& flags) {
  std::string text;
  for (const RunFlag& flag : flags) text += (text.empty() ? "" : " ") + std::string(flag.name);
  return text;
}

void AppendRow(std::string& csv, const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) csv += (i == 0 ? "" : ",") + CsvField(fields[i]);
  csv += "\r\n";
}

}  // namespace

std::vector<std::string> CsvColumns() {
  return {"run",           "test",          "width",        "height",       "depth",        "repeat",
          "fps",           "fullscreen",    "window",       "drawable",     "presentation", "color_bits",
          "depth_bits",    "swap_interval", "display_mode", "video_driver", "renderer",     "exact_frames",
          "exact_seconds", "exact_fps",     "frame_ms_p50", "frame_ms_p90", "frame_ms_p99", "frame_ms_max",
          "exact_end",     "flags"};
}

std::string ResultCsv(const BenchResult& result) {
  std::string csv;
  AppendRow(csv, CsvColumns());
  for (std::size_t i = 0; i < result.runs.size(); ++i) {
    const RunRecord& run = result.runs[i];
    const Setting& setting = result.settings[run.setting];
    const RunMode& mode = run.mode;
    const ExactFigures& exact = mode.exact;
    AppendRow(csv, {std::to_string(i + 1),
                    std::string(kovrin::launcher::ProgramName(setting.test)),
                    std::to_string(setting.width),
                    std::to_string(setting.height),
                    std::to_string(setting.depth),
                    std::to_string(run.repeat),
                    std::to_string(run.fps),
                    Optional(mode.fullscreen),
                    mode.window,
                    mode.drawable,
                    mode.presentation,
                    Optional(mode.colorBits),
                    Optional(mode.depthBits),
                    Optional(mode.swapInterval),
                    mode.displayMode,
                    mode.videoDriver,
                    mode.renderer,
                    Optional(exact.frames),
                    Optional(exact.seconds),
                    Optional(exact.fps),
                    Optional(exact.p50),
                    Optional(exact.p90),
                    Optional(exact.p99),
                    Optional(exact.max),
                    exact.end,
                    Flags(run.flags)});
  }
  return csv;
}

std::string CsvField(std::string_view text) {
  const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) return std::string(text);
  std::string field = "\"";
  for (const char c : text) {
    field += c;
    if (c == '"') field += '"';
  }
  return field + "\"";
}

}  // namespace kovrin::cli
