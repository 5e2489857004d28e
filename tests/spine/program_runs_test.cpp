// The real test programs, started as the launcher starts them: a folder with
// config.cfg, headless, message boxes answered unattended.
#include <gtest/gtest.h>

#include <csignal>
#include <regex>

#include "tests/support/program_runner.h"

namespace {

using kovrin::test::RunOptions;
using kovrin::test::RunProgram;

void ExpectPlausibleResult(const kovrin::test::RunResult& r) {
  ASSERT_TRUE(r.resultsFps.has_value()) << "no results.fps; stderr:\n" << r.stdErr;
  EXPECT_TRUE(std::regex_match(*r.resultsFps, std::regex("[0-9]+\r\n"))) << "results.fps: '" << *r.resultsFps << "'";
  EXPECT_GT(std::stoi(*r.resultsFps), 0) << "no frame counted";
}

// The figures printed after the run, in order after the mode's lines, agree
// with each other and with results.fps.
void ExpectExactFigures(const kovrin::test::RunResult& r) {
  std::size_t at = r.stdErr.find("[diag] swap_interval: ");
  for (const char* key : {"frames", "run_seconds", "fps", "frame_ms", "run_end", "ticks"}) {
    const std::size_t next = r.stdErr.find(std::string("\n[diag] ") + key + ": ");
    ASSERT_NE(next, std::string::npos) << "no " << key << "\n" << r.stdErr;
    EXPECT_GT(next, at) << key << " out of order\n" << r.stdErr;
    at = next;
  }
  EXPECT_TRUE(std::regex_match(r.Diag("run_seconds"), std::regex("[0-9]+\\.[0-9]{6}"))) << r.Diag("run_seconds");
  EXPECT_TRUE(std::regex_match(r.Diag("fps"), std::regex("[0-9]+\\.[0-9]{2}"))) << r.Diag("fps");
  std::smatch times;
  const std::string frameMs = r.Diag("frame_ms");
  ASSERT_TRUE(std::regex_match(frameMs, times,
                               std::regex("p50 ([0-9]+\\.[0-9]{3}) p90 ([0-9]+\\.[0-9]{3}) "
                                          "p99 ([0-9]+\\.[0-9]{3}) max ([0-9]+\\.[0-9]{3})")))
      << frameMs;
  EXPECT_LE(std::stod(times[1]), std::stod(times[2])) << frameMs;
  EXPECT_LE(std::stod(times[2]), std::stod(times[3])) << frameMs;
  EXPECT_LE(std::stod(times[3]), std::stod(times[4])) << frameMs;

  const int frames = std::stoi(r.Diag("frames"));
  const double seconds = std::stod(r.Diag("run_seconds"));
  EXPECT_EQ(r.resultsFps, std::to_string(frames / 8) + "\r\n");
  // fps is rounded to 2 decimals: its product with the seconds may be off by
  // half a hundredth of a frame a second.
  EXPECT_NEAR(std::stod(r.Diag("fps")) * seconds, frames, 0.005 * seconds + 1e-6);
  EXPECT_EQ(r.Diag("run_end"), "ticks");
  EXPECT_EQ(r.Diag("ticks"), "8");
  EXPECT_GE(seconds, 8.0) << "the eighth tick cannot fall due before eight seconds";
  // Every frame lies inside the run.
  EXPECT_LE(std::stod(times[4]), seconds * 1000) << frameMs;
}

struct NormalRun {
  const char* program;
  const char* title;
};

class TimedRun : public testing::TestWithParam<NormalRun> {};

TEST_P(TimedRun, RunsEightTicksAndWritesTheFrameRate) {
  RunOptions o;
  o.program = GetParam().program;
  o.config = kovrin::test::ConfigText(640, 480, 16);
  const kovrin::test::RunResult r = RunProgram(o);
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  EXPECT_FALSE(r.timedOut);
  // Eight one-second ticks at least; a run that queues frames instead of
  // finishing them overruns by far more than start-up and shut-down take.
  EXPECT_GE(r.seconds, 8.0);
  EXPECT_LT(r.seconds, 30.0) << "the run overran its eight seconds";
  EXPECT_EQ(r.Diag("title"), GetParam().title);
  EXPECT_EQ(r.Diag("window"), "640x480");
  EXPECT_EQ(r.Diag("fullscreen"), "yes");
  EXPECT_TRUE(r.MsgBoxLines().empty()) << r.stdErr;
  ExpectPlausibleResult(r);
  ExpectExactFigures(r);
}

INSTANTIATE_TEST_SUITE_P(Programs, TimedRun,
                         testing::Values(NormalRun{"Quillfire", "OpenGL: Overdraw Stress Test  640x480  16 bpp"},
                                         NormalRun{"Lumavane", "OpenGL: Alpha Blending Performance  640x480  16 bpp"}),
                         [](const testing::TestParamInfo<NormalRun>& tp) { return std::string(tp.param.program); });

struct MissingConfig {
  const char* program;
  const char* caption;
  const char* window;
};

class WithoutConfig : public testing::TestWithParam<MissingConfig> {};

TEST_P(WithoutConfig, NoEndsWithExitCodeOneAndNoResult) {
  RunOptions o;
  o.program = GetParam().program;
  o.msgbox = "no";
  const kovrin::test::RunResult r = RunProgram(o);
  EXPECT_EQ(r.exitCode, 1);
  const auto boxes = r.MsgBoxLines();
  ASSERT_EQ(boxes.size(), 1u) << r.stdErr;
  EXPECT_EQ(boxes[0], std::string("[msgbox] caption: ") + GetParam().caption +
                          " | text: Fehler beim Laden von config.cfg!\\nFortfahren? | buttons: YESNO | answer: NO");
  EXPECT_FALSE(r.resultsFps.has_value());
}

TEST_P(WithoutConfig, YesRunsWithTheProgramsDefaults) {
  RunOptions o;
  o.program = GetParam().program;
  o.msgbox = "yes";
  const kovrin::test::RunResult r = RunProgram(o);
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  EXPECT_EQ(r.Diag("title"), GetParam().caption);
  EXPECT_EQ(r.Diag("window"), GetParam().window);
  EXPECT_EQ(r.Diag("fullscreen"), "yes");
  EXPECT_EQ(r.MsgBoxLines().size(), 1u) << r.stdErr;
  ExpectPlausibleResult(r);
}

INSTANTIATE_TEST_SUITE_P(Programs, WithoutConfig,
                         testing::Values(MissingConfig{"Quillfire", "Overdraw Stress Test 0.01c", "1024x768"},
                                         MissingConfig{"Lumavane", "Alpha Blending 0.01", "800x600"}),
                         [](const testing::TestParamInfo<MissingConfig>& tp) { return std::string(tp.param.program); });

// Closing the window is the user's own way to end a run early: unlike a
// signal it keeps the classic outcome, frames so far divided by eight.
TEST(WindowClose, EndsTheRunEarlyAndStillWritesFramesDividedByEight) {
  RunOptions o;
  o.config = kovrin::test::ConfigText(640, 480, 16);
  o.env = {{"LD_PRELOAD", KOVRIN_FRAME_PROBE_LIB}, {"KOVRIN_QUIT_AFTER_FRAMES", "16"}};
  const kovrin::test::RunResult r = RunProgram(o);
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  EXPECT_FALSE(r.killedBySignal);
  EXPECT_EQ(r.resultsFps.value_or("no results.fps"), "2\r\n");
}

struct StopSignal {
  const char* name;
  int signal;
};

class EndedBySignal : public testing::TestWithParam<StopSignal> {};

// A signal is no window close: frames/8 of a cut-short run would pass for a
// measurement, so the program shuts down and leaves no result.
TEST_P(EndedBySignal, EndsTheRunEarlyWithoutResultAndExitCode128PlusSignal) {
  RunOptions o;
  o.config = kovrin::test::ConfigText(640, 480, 16);
  o.terminateAfterMs = 3000;
  o.terminateSignal = GetParam().signal;
  const kovrin::test::RunResult r = RunProgram(o);
  EXPECT_FALSE(r.killedBySignal) << "the program must shut down itself, not die of the signal";
  EXPECT_EQ(r.exitCode, 128 + GetParam().signal) << r.stdErr;
  EXPECT_LT(r.seconds, 8.0);
  EXPECT_FALSE(r.resultsFps.has_value()) << "results.fps: '" << r.resultsFps.value_or("") << "'";
}

INSTANTIATE_TEST_SUITE_P(Signals, EndedBySignal,
                         testing::Values(StopSignal{"SIGTERM", SIGTERM}, StopSignal{"SIGINT", SIGINT}),
                         [](const testing::TestParamInfo<StopSignal>& tp) { return std::string(tp.param.name); });

TEST(ShutdownFailures, AreReportedInOrderAndTheResultIsStillWritten) {
  RunOptions o;
  o.config = kovrin::test::ConfigText(640, 480, 16);
  o.env = {{"KOVRIN_FAULT", "release_current,delete_context,release_dc,destroy_window"}};
  const kovrin::test::RunResult r = RunProgram(o);
  EXPECT_EQ(r.exitCode, 0);
  const std::string title = "OpenGL: Overdraw Stress Test  640x480  16 bpp";
  const std::vector<std::string> expected = {
      "[msgbox] caption: " + title + " | text: Unloading DC And RC Context Failes! | buttons: OK | answer: OK",
      "[msgbox] caption: SHUTDOWN ERROR | text: Rendering Context Unload Failed! | buttons: OK | answer: OK",
      "[msgbox] caption: SHUTDOWN ERROR | text: Device Context Unload Failes! | buttons: OK | answer: OK",
      "[msgbox] caption: SHUTDOWN ERROR | text: Could not unload hWnd! | buttons: OK | answer: OK",
  };
  EXPECT_EQ(r.MsgBoxLines(), expected) << r.stdErr;
  ExpectPlausibleResult(r);
}

}  // namespace
