// Whatever stands under the names a test program opens (config.cfg,
// default.fnt, results.fps), the program neither hangs nor grows nor writes
// outside its folder: a thing that is not a regular file counts as a file
// that cannot be opened, a huge file is read no further than the limit.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/support/program_runner.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// Far above what a program needs (tens of MB), far below what reading a
// hostile file whole would take (hundreds of MB to gigabytes).
constexpr long kMemoryBoundKb = 150 * 1024;
constexpr uintmax_t kSparseBytes = uintmax_t{2} << 30;

const std::string kInitialTitle = "Overdraw Stress Test 0.01c";
const std::string kRunTitle = "OpenGL: Overdraw Stress Test  640x480  16 bpp";

std::string Box(const std::string& caption, const std::string& text, const char* buttons = "OK",
                const char* answer = "OK") {
  return "[msgbox] caption: " + caption + " | text: " + text + " | buttons: " + buttons + " | answer: " + answer;
}

std::string LoadQuestion(const std::string& caption, const std::string& name) {
  return Box(caption, "Fehler beim Laden von " + name + "!\\nFortfahren?", "YESNO", "NO");
}

void Fifo(const fs::path& path) {
  fs::remove(path);
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
}

void Sparse(const fs::path& path) {
  fs::remove(path);
  std::ofstream(path).close();
  fs::resize_file(path, kSparseBytes);
}

// Settings whose last entry lies far beyond the reading limit: applied, it
// would change the title.
void ManyShortLines(const fs::path& path) {
  std::ofstream out(path, std::ios::binary);
  out << kovrin::test::ConfigText(640, 480, 16);
  const std::string filler = "n=1;\r\n";
  for (int i = 0; i < (8 << 20) / static_cast<int>(filler.size()); ++i) out << filler;
  out << "GL_RESX=320;\r\n";
}

struct Places {
  fs::path folder;   // the program's folder
  fs::path outside;  // a folder beside it that must stay untouched
};

struct HostileCase {
  const char* name;
  bool withConfig;                          // a normal config.cfg first
  std::function<void(const Places&)> make;  // then the odd thing
  std::vector<std::pair<std::string, std::string>> env;
  int exitCode;
  std::vector<std::string> boxes;
  std::function<void(const Places&)> check;  // what must be unchanged
};

// A short run that ends as a closed window ends it, so results.fps is written.
const std::vector<std::pair<std::string, std::string>> kShortRun = {{"LD_PRELOAD", KOVRIN_FRAME_PROBE_LIB},
                                                                    {"KOVRIN_QUIT_AFTER_FRAMES", "8"}};
// Ends the start-up right after the settings were read, with the title in
// its messages.
const std::vector<std::pair<std::string, std::string>> kNoWindow = {{"KOVRIN_FAULT", "create_window"}};

std::vector<std::string> NoWindowBoxes(const std::string& title) {
  return {Box(title, "Fehler beim Erstellen des OpenGL-Fensters!"), Box(title, "Fehler in Graphics_Init_CreateWindow")};
}

void ExpectOutsideKept(const Places& p) {
  EXPECT_EQ(kovrin::test::ReadFileBytes((p.outside / "target").string()), "keep\r\n") << "written through the link";
}

const HostileCase kCases[] = {
    {"config_fifo",
     false,
     [](const Places& p) { Fifo(p.folder / "config.cfg"); },
     {},
     1,
     {LoadQuestion(kInitialTitle, "config.cfg")},
     nullptr},
    {"config_link_to_dev_zero",
     false,
     [](const Places& p) { fs::create_symlink("/dev/zero", p.folder / "config.cfg"); },
     {},
     1,
     {LoadQuestion(kInitialTitle, "config.cfg")},
     nullptr},
    {"config_directory",
     false,
     [](const Places& p) { fs::create_directory(p.folder / "config.cfg"); },
     {},
     1,
     {LoadQuestion(kInitialTitle, "config.cfg")},
     nullptr},
    {"config_dangling_symlink",
     false,
     [](const Places& p) { fs::create_symlink(p.outside / "missing", p.folder / "config.cfg"); },
     {},
     1,
     {LoadQuestion(kInitialTitle, "config.cfg")},
     nullptr},
    // Its first "line" is over-long, so the text is empty: the defaults.
    {"config_huge_sparse", false, [](const Places& p) { Sparse(p.folder / "config.cfg"); }, kNoWindow, 0,
     NoWindowBoxes(kInitialTitle), nullptr},
    {"config_many_short_lines", false, [](const Places& p) { ManyShortLines(p.folder / "config.cfg"); }, kNoWindow, 0,
     NoWindowBoxes(kRunTitle), nullptr},
    {"font_fifo",
     true,
     [](const Places& p) { Fifo(p.folder / "default.fnt"); },
     {},
     1,
     {LoadQuestion(kRunTitle, "default.fnt")},
     nullptr},
    {"font_link_to_dev_zero",
     true,
     [](const Places& p) {
       fs::remove(p.folder / "default.fnt");
       fs::create_symlink("/dev/zero", p.folder / "default.fnt");
     },
     {},
     1,
     {LoadQuestion(kRunTitle, "default.fnt")},
     nullptr},
    // Read (and found empty) without a question; the run goes on without glyphs.
    {"font_huge_sparse",
     true,
     [](const Places& p) { Sparse(p.folder / "default.fnt"); },
     kShortRun,
     0,
     {},
     [](const Places& p) { EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(p.folder / "results.fps"))); }},
    {"results_symlink_to_outside_file",
     true,
     [](const Places& p) {
       std::ofstream(p.outside / "target", std::ios::binary) << "keep\r\n";
       fs::create_symlink(p.outside / "target", p.folder / "results.fps");
     },
     kShortRun,
     0,
     {},
     [](const Places& p) {
       ExpectOutsideKept(p);
       EXPECT_TRUE(fs::is_symlink(p.folder / "results.fps"));
     }},
    {"results_dangling_symlink",
     true,
     [](const Places& p) { fs::create_symlink(p.outside / "made", p.folder / "results.fps"); },
     kShortRun,
     0,
     {},
     [](const Places& p) { EXPECT_FALSE(fs::exists(p.outside / "made")) << "created through the link"; }},
    {"results_fifo",
     true,
     [](const Places& p) { Fifo(p.folder / "results.fps"); },
     kShortRun,
     0,
     {},
     [](const Places& p) { EXPECT_TRUE(fs::is_fifo(p.folder / "results.fps")); }},
    {"results_directory",
     true,
     [](const Places& p) { fs::create_directory(p.folder / "results.fps"); },
     kShortRun,
     0,
     {},
     [](const Places& p) { EXPECT_TRUE(fs::is_directory(p.folder / "results.fps")); }},
};

class HostileFile : public testing::TestWithParam<HostileCase> {};

TEST_P(HostileFile, EndsInTimeWithinMemoryAndTouchesNothingElse) {
  const HostileCase& c = GetParam();
  const kovrin::test::ScratchFolder folder;
  const kovrin::test::ScratchFolder outside;
  const Places places{folder.Path(), outside.Path()};
  kovrin::test::RunOptions o;
  o.folder = places.folder.string();
  o.msgbox = "no";
  if (c.withConfig) o.config = kovrin::test::ConfigText(640, 480, 16);
  o.env = c.env;
  o.prepare = [&](const std::string&) { c.make(places); };
  o.timeoutSeconds = 40;  // a hang fails the test instead of stalling it
  const kovrin::test::RunResult r = kovrin::test::RunProgram(o);

  EXPECT_FALSE(r.timedOut) << "the program hung";
  EXPECT_FALSE(r.killedBySignal) << r.stdErr;
  EXPECT_EQ(r.exitCode, c.exitCode) << r.stdErr;
  EXPECT_EQ(r.MsgBoxLines(), c.boxes) << r.stdErr;
  EXPECT_LT(r.maxRssKb, kMemoryBoundKb) << "peak memory " << r.maxRssKb / 1024 << " MB";
  if (c.check) {
    c.check(places);
  } else {
    EXPECT_FALSE(r.resultsFps.has_value()) << "a run that ended at start-up left a result";
  }
}

INSTANTIATE_TEST_SUITE_P(Names, HostileFile, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<HostileCase>& tp) { return std::string(tp.param.name); });

}  // namespace
