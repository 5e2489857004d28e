// A full screen that the check after showing refuses (on a desktop: a
// compositor that stretched the window) is asked about like a refused mode.
// The check's verdict is injected, so this runs on the offscreen driver.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/program_runner.h"

namespace {

const std::string kTitle = "OpenGL: Overdraw Stress Test  640x480  16 bpp";
const std::string kQuestion = "[msgbox] caption: " + kTitle +
                              " | text: Vollbildmodus wird nicht unterst\xC3\xBCtzt!\\nIm Fenstermodus starten? | "
                              "buttons: YESNO | answer: ";

std::string Box(const std::string& text) {
  return "[msgbox] caption: " + kTitle + " | text: " + text + " | buttons: OK | answer: OK";
}

kovrin::test::RunResult RunRefused(const char* answer) {
  kovrin::test::RunOptions o;
  o.config = kovrin::test::ConfigText(640, 480, 16);
  o.msgbox = answer;
  o.env = {{"KOVRIN_FAULT", "fullscreen_check"}};
  return kovrin::test::RunProgram(o);
}

TEST(FullScreenCheck, YesRunsInAWindowOfTheAskedSize) {
  const kovrin::test::RunResult r = RunRefused("yes");
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  EXPECT_EQ(r.MsgBoxLines(), std::vector<std::string>{kQuestion + "YES"}) << r.stdErr;
  EXPECT_EQ(r.Diag("fullscreen"), "no");
  EXPECT_EQ(r.Diag("presentation"), "offscreen");
  EXPECT_EQ(r.Diag("drawable"), "640x480");
  EXPECT_EQ(r.Diag("display_mode"), "none (offscreen display)") << "the run still called full screen";
  EXPECT_TRUE(r.resultsFps.has_value()) << r.stdErr;
}

TEST(FullScreenCheck, NoEndsWithTheClosingMessagesAndNoResult) {
  const kovrin::test::RunResult r = RunRefused("no");
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  const std::vector<std::string> expected = {kQuestion + "NO", Box("Programm wird auf Grund mehrer Fehler beendet!"),
                                             Box("Fehler in Graphics_Init_CreateWindow")};
  EXPECT_EQ(r.MsgBoxLines(), expected) << r.stdErr;
  EXPECT_EQ(r.Diag("presentation"), "") << "no run, so no description of one";
  EXPECT_FALSE(r.resultsFps.has_value());
}

}  // namespace
