// What a test program reports about the mode it really got: its "[diag]
// key: value" lines on stderr (KOVRIN_DIAG=1).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kovrin::cli {

// The timed run's exact figures, as the program printed them.
struct ExactFigures {
  std::optional<long long> frames;
  std::optional<double> seconds;
  std::optional<double> fps;
  // Frame times in milliseconds.
  std::optional<double> p50;
  std::optional<double> p90;
  std::optional<double> p99;
  std::optional<double> max;
  std::string end;  // "ticks" or "closed"
  std::optional<int> ticks;
};

// Empty texts and absent numbers are values the program did not report.
struct RunMode {
  std::optional<bool> fullscreen;
  std::optional<int> colorBits;
  std::optional<int> depthBits;
  std::optional<int> swapInterval;
  std::string window;          // "640x480"
  std::string drawable;        // the size the program really drew, "640x480"
  std::string presentation;    // "mode-change", "compositor-scaled", "windowed" or "offscreen"
  std::string displayMode;     // the display mode in effect, in the program's words
  std::string videoDriver;     // "x11", "wayland", "offscreen", ...
  std::string renderer;        // GL_RENDERER
  std::optional<int> rgbBits;  // red, green and blue bits of color_bits, without alpha
  ExactFigures exact;
};

// The line's prefix; a program's other output (message boxes, errors) does not
// start with it.
inline constexpr std::string_view kDiagPrefix = "[diag] ";

// Records a diagnostics line in `mode`. False, and `mode` untouched, for any
// other line. Unknown keys are diagnostics all the same and are skipped.
bool TakeDiagLine(std::string_view line, RunMode& mode);

}  // namespace kovrin::cli
