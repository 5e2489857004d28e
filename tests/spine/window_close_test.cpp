// A window closed in the middle of the run, through the window system's own
// close request: the run ends there, says so, and keeps its result.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/program_runner.h"

namespace {

TEST(WindowClose, ClosedAfterThreeSecondsEndsTheRunAsClosed) {
  const auto server = kovrin::test::XServer::StartXvfb("640x480x24");
  ASSERT_TRUE(server) << "Xvfb did not start";
  kovrin::test::RunOptions o;
  o.config = kovrin::test::ConfigText(640, 480, 16);
  o.videoDriver = "";
  o.display = server->Display();
  o.closeWindowAfterMs = 3000;
  const kovrin::test::RunResult r = kovrin::test::RunProgram(o);
  ASSERT_TRUE(r.windowCloseSent) << "no window of the program was found\n" << r.stdErr;
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  EXPECT_EQ(r.Diag("run_end"), "closed") << r.stdErr;
  EXPECT_LT(std::stoi(r.Diag("ticks")), 8) << r.stdErr;
  ASSERT_TRUE(r.resultsFps.has_value()) << r.stdErr;
  EXPECT_EQ(*r.resultsFps, std::to_string(std::stoi(r.Diag("frames")) / 8) + "\r\n");
}

}  // namespace
