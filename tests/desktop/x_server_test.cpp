// What a test program's end leaves of an X desktop: a display that went away
// ends the program at once; a program killed in its full-screen mode has the
// desktop's mode put back by the launcher's keeper.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <optional>

#include "launcher/desktop/desktop_mode.h"
#include "tests/support/program_runner.h"
#include "tests/support/scoped_variable.h"
#include "tests/support/shared_data.h"

namespace {

TEST(LostDisplay, TheProgramEndsWithoutAResult) {
  auto server = kovrin::test::XServer::StartXvfb("1024x768x24");
  if (!server) GTEST_SKIP() << "Xvfb could not be started";
  kovrin::test::RunOptions o;
  o.config = kovrin::test::ConfigText(1024, 768, 32);
  o.videoDriver = "";
  o.display = server->Display();
  o.whileRunning = [&server] { server->End(); };
  o.whileRunningAfterMs = 3000;
  // Without its own handler the program spun in Xlib's exit path until killed.
  o.timeoutSeconds = 30;
  const kovrin::test::RunResult r = kovrin::test::RunProgram(o);
  EXPECT_FALSE(r.timedOut) << "the program kept running without its display\n" << r.stdErr;
  EXPECT_EQ(r.exitCode, 1) << r.stdErr;
  EXPECT_NE(r.stdErr.find("the connection to the display was lost"), std::string::npos) << r.stdErr;
  EXPECT_FALSE(r.resultsFps.has_value()) << "a run cut short by the display left a result";
}

TEST(DesktopModeKeeper, PutsBackTheModeOfAKilledFullScreenRun) {
  KOVRIN_SKIP_WITHOUT_SHARED("x11/xorg-dummy.conf");
  const std::string config = kovrin::test::SharedPath("x11/xorg-dummy.conf").string();
  const auto server = kovrin::test::XServer::StartXorgDummy(config);
  if (!server) GTEST_SKIP() << "Xorg with the dummy driver could not be started (needs root)";
  // The keeper's X source reads DISPLAY of this process.
  const kovrin::test::ScopedVariable display("DISPLAY", server->Display().c_str());
  const std::unique_ptr<kovrin::desktop::ModeSource> screen = kovrin::desktop::XrandrModeSource();
  const std::optional<kovrin::desktop::ScreenMode> before = screen->Current();
  ASSERT_TRUE(before.has_value()) << "no RandR 1.2 on the dummy server";
  ASSERT_EQ(kovrin::desktop::Describe(*before), "1600x1200");

  kovrin::desktop::DesktopModeKeeper keeper(*screen);
  keeper.NoteBeforeStart();
  kovrin::test::RunOptions o;
  o.config = kovrin::test::ConfigText(640, 480, 16);
  o.videoDriver = "";
  o.display = server->Display();
  std::optional<kovrin::desktop::ScreenMode> during;
  o.whileRunning = [&] { during = screen->Current(); };
  o.whileRunningAfterMs = 3500;
  o.terminateAfterMs = 4000;
  o.terminateSignal = SIGKILL;
  const kovrin::test::RunResult r = kovrin::test::RunProgram(o);
  ASSERT_EQ(r.exitCode, 128 + SIGKILL) << r.stdErr;
  ASSERT_TRUE(during.has_value());
  ASSERT_EQ(kovrin::desktop::Describe(*during), "640x480") << "the run did not switch the display\n" << r.stdErr;
  const std::optional<kovrin::desktop::ScreenMode> left = screen->Current();
  ASSERT_TRUE(left.has_value());
  EXPECT_EQ(kovrin::desktop::Describe(*left), "640x480") << "something else put the mode back; nothing left to test";

  EXPECT_EQ(keeper.RestoreAfterEnd(),
            std::optional<std::string>("the test program left the desktop at 640x480; it was put back to 1600x1200"));
  EXPECT_EQ(screen->Current(), before);
}

}  // namespace
