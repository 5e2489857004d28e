// Every way the window, context and display mode can fail at start-up, and
// what the user is told.
#include <gtest/gtest.h>

#include <filesystem>

#include "program_runner.h"

namespace {

const std::string kTitle = "OpenGL: Overdraw Stress Test  640x480  16 bpp";

std::string Box(const std::string& caption, const std::string& text, const char* buttons = "OK",
                const char* answer = "OK") {
  return "[msgbox] caption: " + caption + " | text: " + text + " | buttons: " + buttons + " | answer: " + answer;
}

struct Fault {
  const char* step;
  const char* message;
};

class StartFailure : public testing::TestWithParam<Fault> {};

TEST_P(StartFailure, ShowsTheStepsMessageThenTheSummaryAndEndsWithZero) {
  kt::RunOptions o;
  o.config = kt::ConfigText(640, 480, 16);
  o.env = {{"KOVRIN_FAULT", GetParam().step}};
  const kt::RunResult r = kt::RunProgram(o);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_FALSE(r.resultsFps.has_value());
  const std::vector<std::string> expected = {Box(kTitle, GetParam().message),
                                             Box(kTitle, "Fehler in Graphics_Init_CreateWindow")};
  EXPECT_EQ(r.MsgBoxLines(), expected) << r.stdErr;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StartFailure,
    testing::Values(Fault{"register_class", "Register WinClass failed!"},
                    Fault{"create_window", "Fehler beim Erstellen des OpenGL-Fensters!"},
                    Fault{"get_dc", "Fehler beim Erstellen des GL Device Contexts!"},
                    Fault{"choose_format", "Pixel Format wird nicht unterstützt!"},
                    Fault{"set_format", "Fehler beim Laden des Pixel Formats!"},
                    Fault{"create_context", "Fehler beim Erstellen des GL Rendering Contexts!"},
                    Fault{"make_current", "Fehler beim Aktivieren des GL Rendering Contexts!"}),
    [](const testing::TestParamInfo<Fault>& tp) { return std::string(tp.param.step); });

TEST(StartFailure, NoDisplayListsEndsWithZero) {
  kt::RunOptions o;
  o.config = kt::ConfigText(640, 480, 16);
  o.env = {{"KOVRIN_FAULT", "gen_lists"}};
  const kt::RunResult r = kt::RunProgram(o);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_FALSE(r.resultsFps.has_value());
  EXPECT_EQ(r.MsgBoxLines(), std::vector<std::string>{Box(kTitle, "Fehler beim Erstellen der Display-Lists!")});
}

TEST(StartFailure, ZeroWidthCannotMakeAWindow) {
  kt::RunOptions o;
  o.config = "GL_RESX=0;GL_RESY=480;GL_BITDEPTH=16;";
  const kt::RunResult r = kt::RunProgram(o);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_FALSE(r.resultsFps.has_value());
  ASSERT_EQ(r.MsgBoxLines().size(), 2u) << r.stdErr;
  EXPECT_NE(r.MsgBoxLines()[0].find("Fehler beim Erstellen des OpenGL-Fensters!"), std::string::npos);
}

// Xvfb offers exactly one mode, so only a request of that size is full screen.
class SingleModeDisplay : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = kt::XServer::StartXvfb("1600x1200x24");
  }
  static void TearDownTestSuite() { server_.reset(); }
  void SetUp() override {
    if (!server_) GTEST_SKIP() << "Xvfb could not be started";
  }
  kt::RunResult Run(int w, int h, const char* answer) {
    kt::RunOptions o;
    o.config = kt::ConfigText(w, h, 16);
    o.videoDriver = "";
    o.display = server_->Display();
    o.msgbox = answer;
    return kt::RunProgram(o);
  }
  static std::unique_ptr<kt::XServer> server_;
};
std::unique_ptr<kt::XServer> SingleModeDisplay::server_;

TEST_F(SingleModeDisplay, TheDisplaysOwnModeRunsFullScreen) {
  const kt::RunResult r = Run(1600, 1200, "default");
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  EXPECT_EQ(r.Diag("video_driver"), "x11");
  EXPECT_EQ(r.Diag("fullscreen"), "yes");
  EXPECT_EQ(r.Diag("window"), "1600x1200");
  EXPECT_TRUE(r.MsgBoxLines().empty()) << r.stdErr;
  EXPECT_TRUE(r.resultsFps.has_value());
}

TEST_F(SingleModeDisplay, AnotherSizeAsksAndYesRunsWindowed) {
  const kt::RunResult r = Run(640, 480, "yes");
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  const std::string title = kTitle;
  EXPECT_EQ(r.MsgBoxLines(),
            std::vector<std::string>{Box(title, "Vollbildmodus wird nicht unterstützt!\\nIm Fenstermodus starten?",
                                         "YESNO", "YES")});
  EXPECT_EQ(r.Diag("fullscreen"), "no");
  EXPECT_EQ(r.Diag("window"), "640x480");
  ASSERT_TRUE(r.resultsFps.has_value());
}

TEST_F(SingleModeDisplay, AnotherSizeAndNoEndsWithoutResult) {
  const kt::RunResult r = Run(640, 480, "no");
  EXPECT_EQ(r.exitCode, 0);
  const std::vector<std::string> expected = {
      Box(kTitle, "Vollbildmodus wird nicht unterstützt!\\nIm Fenstermodus starten?", "YESNO", "NO"),
      Box(kTitle, "Programm wird auf Grund mehrer Fehler beendet!"),
      Box(kTitle, "Fehler in Graphics_Init_CreateWindow")};
  EXPECT_EQ(r.MsgBoxLines(), expected) << r.stdErr;
  EXPECT_FALSE(r.resultsFps.has_value());
}

}  // namespace
