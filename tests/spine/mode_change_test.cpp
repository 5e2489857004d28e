// A display that really changes modes: the run switches to exactly the
// requested size and the desktop's mode is back afterwards.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "tests/support/program_runner.h"
#include "tests/support/shared_data.h"

namespace {

std::string CurrentDimensions(const std::string& display) {
  const std::string command = "DISPLAY=" + display + " xdpyinfo 2>/dev/null | grep dimensions";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) return {};
  char line[256] = {};
  if (std::fgets(line, sizeof line, pipe.get()) == nullptr) return {};
  return line;
}

TEST(ModeChange, FullScreenRunSwitchesToTheSizeAndRestoresTheDesktop) {
  KOVRIN_SKIP_WITHOUT_SHARED("x11/xorg-dummy.conf");
  const std::string config = kovrin::test::SharedPath("x11/xorg-dummy.conf").string();
  const auto server = kovrin::test::XServer::StartXorgDummy(config);
  if (!server) GTEST_SKIP() << "Xorg with the dummy driver could not be started (needs root)";
  const std::string before = CurrentDimensions(server->Display());
  ASSERT_NE(before.find("1600x1200"), std::string::npos) << before;

  kovrin::test::RunOptions o;
  o.config = kovrin::test::ConfigText(640, 480, 16);
  o.videoDriver = "";
  o.display = server->Display();
  const kovrin::test::RunResult r = kovrin::test::RunProgram(o);
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  EXPECT_TRUE(r.MsgBoxLines().empty()) << r.stdErr;
  EXPECT_EQ(r.Diag("fullscreen"), "yes");
  EXPECT_EQ(r.Diag("display_mode").rfind("640x480 ", 0), 0u) << r.Diag("display_mode");
  EXPECT_TRUE(r.resultsFps.has_value());
  EXPECT_EQ(CurrentDimensions(server->Display()), before) << "the desktop's mode was not restored";
}

// The desktop's mode must come back however the run ends; a signal that
// killed the program mid-run would leave the display at 640 x 480.
TEST(ModeChange, SignalEndsTheRunAndRestoresTheDesktop) {
  KOVRIN_SKIP_WITHOUT_SHARED("x11/xorg-dummy.conf");
  const std::string config = kovrin::test::SharedPath("x11/xorg-dummy.conf").string();
  const auto server = kovrin::test::XServer::StartXorgDummy(config);
  if (!server) GTEST_SKIP() << "Xorg with the dummy driver could not be started (needs root)";
  const std::string before = CurrentDimensions(server->Display());

  kovrin::test::RunOptions o;
  o.config = kovrin::test::ConfigText(640, 480, 16);
  o.videoDriver = "";
  o.display = server->Display();
  o.terminateAfterMs = 3000;
  const kovrin::test::RunResult r = kovrin::test::RunProgram(o);
  EXPECT_FALSE(r.killedBySignal);
  EXPECT_EQ(r.exitCode, 128 + SIGTERM) << r.stdErr;
  EXPECT_EQ(r.Diag("display_mode").rfind("640x480 ", 0), 0u) << "the mode never changed: " << r.Diag("display_mode");
  EXPECT_FALSE(r.resultsFps.has_value());
  EXPECT_EQ(CurrentDimensions(server->Display()), before) << "the desktop's mode was not restored";
}

}  // namespace
