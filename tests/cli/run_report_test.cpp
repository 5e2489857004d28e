// What the headless run makes of a run's diagnostics: the exact figures read
// back, the flags of a run that is not what it claims, and the summary lines.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "launcher/cli/run_mode.h"
#include "launcher/cli/run_report.h"

namespace {

using kovrin::cli::ExactFigures;
using kovrin::cli::RunFlag;
using kovrin::cli::RunMode;
using kovrin::cli::RunRequest;

RunMode ModeOf(std::initializer_list<const char*> lines) {
  RunMode mode;
  for (const char* line : lines) EXPECT_TRUE(kovrin::cli::TakeDiagLine(line, mode)) << line;
  return mode;
}

// The lines as the test programs print them after their run.
TEST(ExactFigureLines, AreReadBack) {
  const RunMode mode = ModeOf({"[diag] frames: 19", "[diag] run_seconds: 8.123456", "[diag] fps: 2.34",
                               "[diag] frame_ms: p50 417.000 p90 420.250 p99 512.001 max 2500.001",
                               "[diag] run_end: closed\r", "[diag] ticks: 3", "[diag] color_bits: 24 (R8 G8 B8 A0)"});
  const ExactFigures& e = mode.exact;
  EXPECT_EQ(e.frames, 19);
  EXPECT_EQ(e.seconds, 8.123456);
  EXPECT_EQ(e.fps, 2.34);
  EXPECT_EQ(e.p50, 417.0);
  EXPECT_EQ(e.p90, 420.25);
  EXPECT_EQ(e.p99, 512.001);
  EXPECT_EQ(e.max, 2500.001);
  EXPECT_EQ(e.end, "closed");
  EXPECT_EQ(e.ticks, 3);
  EXPECT_EQ(mode.colorBits, 24);
  EXPECT_EQ(mode.rgbBits, 24);
}

TEST(ExactFigureLines, MalformedValuesAreNotReported) {
  const RunMode mode = ModeOf({"[diag] frames: 19x", "[diag] run_seconds: soon", "[diag] fps: ", "[diag] fps: inf",
                               "[diag] run_seconds: -8.000000", "[diag] fps: nan", "[diag] frame_ms: none",
                               "[diag] run_end: maybe", "[diag] color_bits: 32"});
  const ExactFigures& e = mode.exact;
  EXPECT_FALSE(e.frames || e.seconds || e.fps || e.p50 || e.p90 || e.p99 || e.max);
  EXPECT_EQ(e.end, "");
  EXPECT_EQ(mode.colorBits, 32);
  EXPECT_FALSE(mode.rgbBits) << "no components given";
  // A frame time line cut short leaves all four absent, not half of them.
  const RunMode partial = ModeOf({"[diag] frame_ms: p50 1.000 p90 2.000 p99"});
  EXPECT_FALSE(partial.exact.p50 || partial.exact.p90 || partial.exact.p99 || partial.exact.max);
  const RunMode infinite = ModeOf({"[diag] frame_ms: p50 1.000 p90 2.000 p99 3.000 max inf"});
  EXPECT_FALSE(infinite.exact.p50 || infinite.exact.max);
}

struct FlagCase {
  const char* name;
  RunRequest request;
  std::vector<const char*> lines;
  std::vector<std::string> flags;  // "name: detail"
};

TEST(RunFlags, EachRuleAndOnlyItFires) {
  const RunRequest r16{640, 480, 16};
  const RunRequest r32{1600, 1200, 32};
  const FlagCase cases[] = {
      {"as asked, 16 bit 5-6-5",
       r16,
       {"[diag] window: 640x480", "[diag] fullscreen: yes", "[diag] color_bits: 16 (R5 G6 B5 A0)",
        "[diag] swap_interval: 0", "[diag] run_end: ticks", "[diag] fps: 60.00",
        "[diag] display_mode: 640x480 (offscreen display: any mode is accepted, nothing is shown)"},
       {}},
      {"as asked, 32 bit with alpha", r32, {"[diag] color_bits: 32 (R8 G8 B8 A8)", "[diag] window: 1600x1200"}, {}},
      {"as asked, 16 bit 5-5-5", r16, {"[diag] color_bits: 15 (R5 G5 B5 A0)"}, {}},
      {"nothing reported", r16, {}, {}},
      {"closed", r16, {"[diag] run_end: closed", "[diag] ticks: 3"}, {"cut-short: closed after 3 of 8 ticks"}},
      {"windowed", r16, {"[diag] fullscreen: no"}, {"windowed: full screen asked for, drawn in a window"}},
      {"window size", r32, {"[diag] window: 1024x768"}, {"size: 1600x1200 asked for, window 1024x768"}},
      {"drawable size",
       r32,
       {"[diag] window: 1600x1200", "[diag] drawable: 1600x1176 (client area)"},
       {"size: 1600x1200 asked for, drawable 1600x1176"}},
      {"24-bit colour for 16",
       r16,
       {"[diag] color_bits: 24 (R8 G8 B8 A0)"},
       {"colour-bits: 16 bits per pixel asked for, drawn with 24-bit colour"}},
      {"16-bit colour for 32",
       r32,
       {"[diag] color_bits: 16 (R5 G6 B5 A0)"},
       {"colour-bits: 32 bits per pixel asked for, drawn with 16-bit colour"}},
      {"swap interval", r16, {"[diag] swap_interval: 1"}, {"vsync: swap interval 1"}},
      {"adaptive", r16, {"[diag] swap_interval: -1"}, {"vsync: swap interval -1"}},
      {"rate at refresh",
       r16,
       {"[diag] display_mode: 640x480 24 bpp 60 Hz", "[diag] fps: 59.10"},
       {"vsync: 59.10 fps on a 60 Hz display"}},
      {"rate just outside 2 %", r16, {"[diag] display_mode: 640x480 24 bpp 60 Hz", "[diag] fps: 58.79"}, {}},
      {"refresh unknown", r16, {"[diag] display_mode: 640x480 24 bpp 0 Hz", "[diag] fps: 0.00"}, {}},
      {"several, in order",
       r16,
       {"[diag] swap_interval: 1", "[diag] color_bits: 24 (R8 G8 B8 A0)", "[diag] run_end: closed",
        "[diag] fullscreen: no"},
       {"cut-short: closed after ? of 8 ticks", "windowed: full screen asked for, drawn in a window",
        "colour-bits: 16 bits per pixel asked for, drawn with 24-bit colour", "vsync: swap interval 1"}},
  };
  for (const FlagCase& c : cases) {
    SCOPED_TRACE(c.name);
    RunMode mode;
    for (const char* line : c.lines) kovrin::cli::TakeDiagLine(line, mode);
    std::vector<std::string> got;
    for (const RunFlag& flag : kovrin::cli::RunFlags(c.request, mode))
      got.push_back(std::string(flag.name) + ": " + flag.detail);
    EXPECT_EQ(got, c.flags);
  }
}

TEST(RunReportLines, ExactSuffixAndMean) {
  ExactFigures full;
  full.fps = 5.7349;
  full.p99 = 190.249;
  ExactFigures noFrameTimes;
  noFrameTimes.fps = 12;
  EXPECT_EQ(kovrin::cli::ExactSuffix(full), " (5.73 exact, p99 frame 190.2 ms)");
  EXPECT_EQ(kovrin::cli::ExactSuffix(noFrameTimes), " (12.00 exact)");
  EXPECT_EQ(kovrin::cli::ExactSuffix(ExactFigures{}), "");

  ExactFigures other;
  other.fps = 52.0851;
  EXPECT_EQ(kovrin::cli::ExactMeanLine({full, other}), "Exact mean: 28.91 fps");
  EXPECT_EQ(kovrin::cli::ExactMeanLine({full, ExactFigures{}, other}),
            "Exact mean: 28.91 fps (over the 2 of 3 runs that reported it)");
  EXPECT_EQ(kovrin::cli::ExactMeanLine({ExactFigures{}}), "Exact mean: not reported");
}

TEST(RunReportLines, FlagSummaryCountsRunsAndNamesWhy) {
  const RunFlag colour{"colour-bits", "x"};
  const RunFlag cut{"cut-short", "y"};
  EXPECT_EQ(kovrin::cli::FlagSummaryLine({{}, {}}), "Flagged: none of 2 runs");
  EXPECT_EQ(kovrin::cli::FlagSummaryLine({{colour}, {}, {colour, cut}}),
            "Flagged: 2 of 3 runs: cut-short 1 (closed before the eighth tick), "
            "colour-bits 2 (colour bits other than the depth asked for)");
}

}  // namespace
