// Every way the window, context and display mode can fail at start-up, and
// what the user is told.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "tests/support/program_runner.h"
#include "tests/support/scratch_folder.h"

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
  kovrin::test::RunOptions o;
  o.config = kovrin::test::ConfigText(640, 480, 16);
  o.env = {{"KOVRIN_FAULT", GetParam().step}};
  const kovrin::test::RunResult r = kovrin::test::RunProgram(o);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_FALSE(r.resultsFps.has_value());
  const std::vector<std::string> expected = {Box(kTitle, GetParam().message),
                                             Box(kTitle, "Fehler in Graphics_Init_CreateWindow")};
  EXPECT_EQ(r.MsgBoxLines(), expected) << r.stdErr;
}

INSTANTIATE_TEST_SUITE_P(Steps, StartFailure,
                         testing::Values(Fault{"register_class", "Register WinClass failed!"},
                                         Fault{"create_window", "Fehler beim Erstellen des OpenGL-Fensters!"},
                                         Fault{"get_dc", "Fehler beim Erstellen des GL Device Contexts!"},
                                         Fault{"choose_format", "Pixel Format wird nicht unterstützt!"},
                                         Fault{"set_format", "Fehler beim Laden des Pixel Formats!"},
                                         Fault{"create_context", "Fehler beim Erstellen des GL Rendering Contexts!"},
                                         Fault{"make_current", "Fehler beim Aktivieren des GL Rendering Contexts!"}),
                         [](const testing::TestParamInfo<Fault>& tp) { return std::string(tp.param.step); });

TEST(StartFailure, NoDisplayListsEndsWithZero) {
  kovrin::test::RunOptions o;
  o.config = kovrin::test::ConfigText(640, 480, 16);
  o.env = {{"KOVRIN_FAULT", "gen_lists"}};
  const kovrin::test::RunResult r = kovrin::test::RunProgram(o);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_FALSE(r.resultsFps.has_value());
  EXPECT_EQ(r.MsgBoxLines(), std::vector<std::string>{Box(kTitle, "Fehler beim Erstellen der Display-Lists!")});
}

struct ZeroSide {
  const char* name;
  const char* config;
  const char* window;
  const char* title;
  const char* viewport;
};

class ZeroSizedWindow : public testing::TestWithParam<ZeroSide> {};

// The viewport the program set, from the recorded GL calls.
std::string RecordedViewport(const std::string& traceFile) {
  std::istringstream lines(kovrin::test::ReadFileBytes(traceFile));
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("glViewport ", 0) == 0) return line;
  }
  return "no glViewport recorded";
}

// A side of 0 is used as 1, by the window system as by the viewport, so the
// run takes place; the settings keep the 0 that was read.
TEST_P(ZeroSizedWindow, RunsWithASideOfOneAndWritesItsResult) {
  const kovrin::test::ScratchFolder folder;
  kovrin::test::RunOptions o;
  o.folder = folder.String();
  o.config = GetParam().config;
  const std::string trace = o.folder + "/gl.trace";
  // A few frames are enough; the run then ends as a closed window ends it.
  o.env = {{"LD_PRELOAD", std::string(KOVRIN_GLTRACE_LIB) + ":" + KOVRIN_FRAME_PROBE_LIB},
           {"KOVRIN_QUIT_AFTER_FRAMES", "3"},
           {"KOVRIN_GLTRACE", trace},
           {"KOVRIN_GLTRACE_FRAMES", "1"}};
  o.timeoutSeconds = 60;
  const kovrin::test::RunResult r = kovrin::test::RunProgram(o);
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  EXPECT_TRUE(r.MsgBoxLines().empty()) << r.stdErr;
  EXPECT_EQ(r.Diag("window"), GetParam().window);
  EXPECT_EQ(r.Diag("title"), GetParam().title);
  EXPECT_EQ(RecordedViewport(trace), GetParam().viewport);
  EXPECT_TRUE(r.resultsFps.has_value()) << r.stdErr;
}

INSTANTIATE_TEST_SUITE_P(
    Sides, ZeroSizedWindow,
    testing::Values(ZeroSide{"width", "GL_RESX=0;GL_RESY=480;GL_BITDEPTH=16;", "1x480",
                             "OpenGL: Overdraw Stress Test  0x480  16 bpp", "glViewport 0 0 1 480"},
                    ZeroSide{"height", "GL_RESX=640;GL_RESY=0;GL_BITDEPTH=16;", "640x1",
                             "OpenGL: Overdraw Stress Test  640x0  16 bpp", "glViewport 0 0 640 1"}),
    [](const testing::TestParamInfo<ZeroSide>& tp) { return std::string(tp.param.name); });

// Xvfb offers exactly one mode, so only a request of that size is full screen.
class SingleModeDisplay : public testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = kovrin::test::XServer::StartXvfb("1600x1200x24"); }
  static void TearDownTestSuite() { server_.reset(); }
  void SetUp() override {
    if (!server_) GTEST_SKIP() << "Xvfb could not be started";
  }
  kovrin::test::RunResult Run(int w, int h, const char* answer) {
    kovrin::test::RunOptions o;
    o.config = kovrin::test::ConfigText(w, h, 16);
    o.videoDriver = "";
    o.display = server_->Display();
    o.msgbox = answer;
    return kovrin::test::RunProgram(o);
  }
  static std::unique_ptr<kovrin::test::XServer> server_;
};
std::unique_ptr<kovrin::test::XServer> SingleModeDisplay::server_;

TEST_F(SingleModeDisplay, TheDisplaysOwnModeRunsFullScreen) {
  const kovrin::test::RunResult r = Run(1600, 1200, "default");
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  EXPECT_EQ(r.Diag("video_driver"), "x11");
  EXPECT_EQ(r.Diag("fullscreen"), "yes");
  EXPECT_EQ(r.Diag("window"), "1600x1200");
  EXPECT_TRUE(r.MsgBoxLines().empty()) << r.stdErr;
  EXPECT_TRUE(r.resultsFps.has_value());
}

TEST_F(SingleModeDisplay, AnotherSizeAsksAndYesRunsWindowed) {
  const kovrin::test::RunResult r = Run(640, 480, "yes");
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  const std::string title = kTitle;
  EXPECT_EQ(r.MsgBoxLines(),
            std::vector<std::string>{
                Box(title, "Vollbildmodus wird nicht unterstützt!\\nIm Fenstermodus starten?", "YESNO", "YES")});
  EXPECT_EQ(r.Diag("fullscreen"), "no");
  EXPECT_EQ(r.Diag("window"), "640x480");
  ASSERT_TRUE(r.resultsFps.has_value());
}

TEST_F(SingleModeDisplay, AnotherSizeAndNoEndsWithoutResult) {
  const kovrin::test::RunResult r = Run(640, 480, "no");
  EXPECT_EQ(r.exitCode, 0);
  const std::vector<std::string> expected = {
      Box(kTitle, "Vollbildmodus wird nicht unterstützt!\\nIm Fenstermodus starten?", "YESNO", "NO"),
      Box(kTitle, "Programm wird auf Grund mehrer Fehler beendet!"),
      Box(kTitle, "Fehler in Graphics_Init_CreateWindow")};
  EXPECT_EQ(r.MsgBoxLines(), expected) << r.stdErr;
  EXPECT_FALSE(r.resultsFps.has_value());
}

}  // namespace
