// The real test programs on a Wayland desktop with Xwayland, as most users
// have one: both WAYLAND_DISPLAY and DISPLAY set. A full-screen run draws
// exactly the size it asks for, over the whole screen, or it asks.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <array>
#include <memory>
#include <string>

#include "tests/support/program_runner.h"
#include "tests/support/weston_desktop.h"

namespace {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

// For each quarter of the X screen, whether any of a grid of points in it
// is not black: a scene that fills only one corner leaves three quarters dark.
std::array<bool, 4> LitQuarters(const std::string& display) {
  std::array<bool, 4> lit{};
  Display* x = XOpenDisplay(display.c_str());
  if (x == nullptr) return lit;
  const Window root = DefaultRootWindow(x);
  XImage* image = XGetImage(x, root, 0, 0, kScreenWidth, kScreenHeight, AllPlanes, ZPixmap);
  if (image != nullptr) {
    for (int y = 20; y < kScreenHeight; y += 40) {
      for (int xPos = 20; xPos < kScreenWidth; xPos += 40) {
        if ((XGetPixel(image, xPos, y) & 0xFFFFFFu) == 0) continue;
        lit[static_cast<std::size_t>((y < kScreenHeight / 2 ? 0 : 2) + (xPos < kScreenWidth / 2 ? 0 : 1))] = true;
      }
    }
    XDestroyImage(image);
  }
  XCloseDisplay(x);
  return lit;
}

class WaylandDesktop : public testing::Test {
 protected:
  static void SetUpTestSuite() { desktop_ = kovrin::test::WestonDesktop::Start(kScreenWidth, kScreenHeight, why_); }
  static void TearDownTestSuite() { desktop_.reset(); }
  void SetUp() override {
    if (!desktop_) GTEST_SKIP() << "no Wayland desktop for this test: " << why_;
  }

  static kovrin::test::RunOptions Options(int width, int height, int depth, const char* answer) {
    kovrin::test::RunOptions o;
    o.config = kovrin::test::ConfigText(width, height, depth);
    o.videoDriver = "";
    o.display = desktop_->XDisplay();
    o.env = desktop_->WaylandEnvironment();
    o.msgbox = answer;
    return o;
  }

  static std::unique_ptr<kovrin::test::WestonDesktop> desktop_;
  static std::string why_;
};
std::unique_ptr<kovrin::test::WestonDesktop> WaylandDesktop::desktop_;
std::string WaylandDesktop::why_;

struct FullScreenCase {
  int width;
  int height;
  int depth;
};

class WaylandFullScreen : public WaylandDesktop, public testing::WithParamInterface<FullScreenCase> {};

TEST_P(WaylandFullScreen, DrawsTheAskedSizeOverTheWholeScreen) {
  const FullScreenCase c = GetParam();
  kovrin::test::RunOptions o = Options(c.width, c.height, c.depth, "no");
  std::array<bool, 4> lit{};
  o.whileRunning = [&lit] { lit = LitQuarters(desktop_->HostDisplay()); };
  o.whileRunningAfterMs = 5000;
  const kovrin::test::RunResult r = kovrin::test::RunProgram(o);

  const std::string asked = std::to_string(c.width) + "x" + std::to_string(c.height);
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  EXPECT_TRUE(r.MsgBoxLines().empty()) << r.stdErr;
  EXPECT_EQ(r.Diag("fullscreen"), "yes") << r.stdErr;
  EXPECT_EQ(r.Diag("drawable"), asked) << r.stdErr;
  const std::string presentation = r.Diag("presentation");
  EXPECT_TRUE(presentation == "compositor-scaled" || presentation == "mode-change") << presentation;
  EXPECT_EQ(r.Diag("display_mode").find("not reached"), std::string::npos) << r.Diag("display_mode");
  EXPECT_TRUE(r.resultsFps.has_value());
  EXPECT_EQ(lit, (std::array<bool, 4>{true, true, true, true}))
      << "quarters top-left, top-right, bottom-left, bottom-right: a dark one is screen the scene did not cover";
}

INSTANTIATE_TEST_SUITE_P(Sizes, WaylandFullScreen,
                         testing::Values(FullScreenCase{640, 480, 16}, FullScreenCase{1024, 768, 32}),
                         [](const testing::TestParamInfo<FullScreenCase>& tp) {
                           return std::to_string(tp.param.width) + "x" + std::to_string(tp.param.height) + "x" +
                                  std::to_string(tp.param.depth);
                         });

// Taller than the screen: no full screen can draw it, so the user is asked
// once, and Yes gets a window that draws exactly that size, or says it does not.
TEST_F(WaylandDesktop, LargerThanTheScreenAsksOnceAndDrawsTheSizeInAWindow) {
  const kovrin::test::RunResult r = kovrin::test::RunProgram(Options(1600, 1200, 32, "yes"));
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  ASSERT_EQ(r.MsgBoxLines().size(), 1u) << r.stdErr;
  EXPECT_NE(r.MsgBoxLines()[0].find("Vollbildmodus wird nicht unterst\xC3\xBCtzt!"), std::string::npos);
  EXPECT_EQ(r.Diag("fullscreen"), "no");
  EXPECT_EQ(r.Diag("presentation"), "windowed");
  const bool drewTheSize = r.Diag("drawable") == "1600x1200";
  EXPECT_TRUE(drewTheSize || r.Diag("display_mode").find("the window manager made it") != std::string::npos)
      << r.stdErr;
  EXPECT_TRUE(r.resultsFps.has_value());
}

// Through Xwayland the compositor makes a full-screen X window its own size,
// whatever mode was set: that is no full screen, and the user is asked.
TEST_F(WaylandDesktop, AnXwaylandFullScreenOfTheWrongSizeIsRefused) {
  kovrin::test::RunOptions o = Options(640, 480, 16, "no");
  o.videoDriver = "x11";
  const kovrin::test::RunResult r = kovrin::test::RunProgram(o);
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  ASSERT_FALSE(r.MsgBoxLines().empty()) << r.stdErr;
  EXPECT_NE(r.MsgBoxLines()[0].find("Vollbildmodus wird nicht unterst\xC3\xBCtzt!"), std::string::npos);
  EXPECT_FALSE(r.resultsFps.has_value());
  EXPECT_EQ(r.Diag("presentation"), "") << "no run, so no description of one";
}

// SDL turns a broken Wayland connection into a quit request, which ends a
// run as a close does, with a result; a compositor that went away is a lost display.
TEST(LostDisplay, OnWaylandTheProgramEndsWithoutAResult) {
  std::string why;
  auto desktop = kovrin::test::WestonDesktop::Start(1024, 768, why);
  if (!desktop) GTEST_SKIP() << "no Wayland desktop for this test: " << why;
  kovrin::test::RunOptions o;
  o.config = kovrin::test::ConfigText(640, 480, 32);
  o.videoDriver = "wayland";
  o.env = desktop->WaylandEnvironment();
  o.whileRunning = [&desktop] { desktop.reset(); };
  o.whileRunningAfterMs = 4000;
  o.timeoutSeconds = 30;
  const kovrin::test::RunResult r = kovrin::test::RunProgram(o);
  EXPECT_FALSE(r.timedOut) << r.stdErr;
  EXPECT_EQ(r.exitCode, 1) << r.stdErr;
  EXPECT_NE(r.stdErr.find("the connection to the display was lost"), std::string::npos) << r.stdErr;
  EXPECT_FALSE(r.resultsFps.has_value()) << "a run cut short by the display left a result";
}

}  // namespace
