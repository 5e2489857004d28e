// The launcher's window puts back the display mode that a killed test program
// left, on an X server that really switches modes.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "launcher/desktop/desktop_mode.h"
#include "launcher/frmMain.h"
#include "tests/support/program_runner.h"
#include "tests/support/qt_scratch_folder.h"
#include "tests/support/shared_data.h"
#include "tests/support/weston_desktop.h"

namespace {

namespace fs = std::filesystem;

void Script(const fs::path& path, const std::string& text) {
  std::ofstream(path) << text;
  fs::permissions(path, fs::perms::owner_all);
}

std::optional<std::string> ScreenNow(kovrin::desktop::ModeSource& screen) {
  const std::optional<kovrin::desktop::ScreenMode> mode = screen.Current();
  return mode ? std::optional<std::string>(kovrin::desktop::Describe(*mode)) : std::nullopt;
}

TEST(LauncherWindow, PutsBackTheModeAKilledTestProgramLeft) {
  KOVRIN_SKIP_WITHOUT_SHARED("x11/xorg-dummy.conf");
  const std::string config = kovrin::test::SharedPath("x11/xorg-dummy.conf").string();
  if (!kovrin::test::OnPath("xrandr")) GTEST_SKIP() << "xrandr is not installed (tools/bootstrap.sh installs it)";
  const auto server = kovrin::test::XServer::StartXorgDummy(config);
  if (!server) GTEST_SKIP() << "Xorg with the dummy driver could not be started (needs root)";
  ::setenv("DISPLAY", server->Display().c_str(), 1);
  // The window itself is drawn offscreen; only the keeper talks to the server.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "desktop_window_test";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);

  // The first run's program switches the display as a full-screen run does,
  // then dies the way a crash ends it.
  kovrin::test::QtScratchFolder folder;
  ASSERT_TRUE(folder.isValid());
  const fs::path root(folder.path().toStdString());
  Script(root / "Quillfire", "#!/bin/sh\nxrandr -s 640x480\nkill -KILL $$\n");
  Script(root / "Lumavane", "#!/bin/sh\nexit 0\n");

  const std::unique_ptr<kovrin::desktop::ModeSource> screen = kovrin::desktop::XrandrModeSource();
  ASSERT_EQ(ScreenNow(*screen), "1600x1200");
  LauncherSetup setup;
  setup.folder = folder.path();
  setup.runTimers = false;
  setup.endLauncher = [](int) {};
  frmMain window(std::move(setup));
  window.cmdRun_Click();
  window.StatusTimer_Timer();  // starts the first run

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (ScreenNow(*screen) != "640x480" && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_EQ(ScreenNow(*screen), "640x480") << "the fake program did not switch the display";
  // The program is gone a moment after its switch; the next tick notices.
  QLabel* note = window.findChild<QLabel*>(QStringLiteral("lblSystem"));
  ASSERT_NE(note, nullptr);
  while (note->text().isEmpty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    QCoreApplication::processEvents();  // the window learns of its program's end
    window.StatusTimer_Timer();
  }
  EXPECT_EQ(note->text().toStdString(), "the test program left the desktop at 640x480; it was put back to 1600x1200");
  EXPECT_EQ(ScreenNow(*screen), "1600x1200");
  ::unsetenv("DISPLAY");
}

}  // namespace
