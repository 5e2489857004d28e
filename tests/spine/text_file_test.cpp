// The text-file reader below the settings syntax: lines fed in pieces, the
// reading limit, and names that are not regular files, for reading
// (ReadTextFile) and for writing (WriteTextFile).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "framework/main_loop.h"
#include "framework/settings_file.h"
#include "tests/support/program_runner.h"
#include "tests/support/scratch_folder.h"

using kovrin::framework::JoinTextLines;
using kovrin::framework::kMaxTextFileBytes;
using kovrin::framework::TextLineJoiner;

namespace {

namespace fs = std::filesystem;

// ---- Lines arriving in pieces ------------------------------------------------

struct LineCase {
  const char* name;
  std::string bytes;
};

class PiecewiseJoin : public testing::TestWithParam<LineCase> {};

// The line buffer holds at most 1022 characters and a CR; where a piece ends
// must not change which line is too long.
TEST_P(PiecewiseJoin, EveryPieceSizeGivesTheWholeText) {
  const std::string& bytes = GetParam().bytes;
  const std::string whole = JoinTextLines(bytes);
  for (std::size_t piece = 1; piece <= 9; ++piece) {
    TextLineJoiner joiner;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
      if (!joiner.Feed(std::string_view(bytes).substr(at, piece))) break;
    }
    EXPECT_EQ(joiner.Finish(), whole) << "pieces of " << piece;
  }
}

const std::string k1022(1022, 'x');
const std::string k1023(1023, 'y');

INSTANTIATE_TEST_SUITE_P(Lines, PiecewiseJoin,
                         testing::Values(LineCase{"crlf", "a=1;\r\nb=2;\r\n"}, LineCase{"last_line_open", "a\nb"},
                                         LineCase{"longest_with_crlf", k1022 + "\r\nz\r\n"},
                                         LineCase{"longest_with_lf", k1022 + "\nz\n"}, LineCase{"longest_open", k1022},
                                         LineCase{"too_long_with_crlf", "a\r\n" + k1023 + "\r\nz\r\n"},
                                         LineCase{"too_long_open", "a\n" + k1023},
                                         LineCase{"longest_and_cr_open", "a\n" + k1022 + "\r"},
                                         LineCase{"lone_cr_kept", "a\rb\n"}),
                         [](const testing::TestParamInfo<LineCase>& tp) { return std::string(tp.param.name); });

TEST(TextLineJoiner, OverLongLineEndsTheTextAndLaterBytesChangeNothing) {
  TextLineJoiner joiner;
  EXPECT_TRUE(joiner.Feed("GL_RESX=640;\r\n"));
  EXPECT_FALSE(joiner.Feed(k1023 + "y"));
  EXPECT_FALSE(joiner.Feed("\r\nGL_RESY=480;\r\n"));
  EXPECT_EQ(joiner.Finish(), "GL_RESX=640; ");
}

TEST(TextLineJoiner, CutDropsTheLineNotYetEnded) {
  TextLineJoiner joiner;
  joiner.Feed("GL_RESX=640;\r\nGL_RESY=4");
  EXPECT_EQ(joiner.Cut(), "GL_RESX=640; ") << "a value cut short must not be applied";
}

// ---- Files in a scratch folder ---------------------------------------------

class InFolder : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    fs::current_path(folder_);
    setenv("KOVRIN_MSGBOX", "yes", 1);
  }
  void TearDown() override {
    fs::current_path(previous_);
    unsetenv("KOVRIN_MSGBOX");
  }
  // The text and the message-box lines that reading it produced.
  static std::pair<std::string, std::string> Read(const std::string& name) {
    testing::internal::CaptureStderr();
    std::string text = ReadTextFile(name);
    return {text, testing::internal::GetCapturedStderr()};
  }
  fs::path previous_;
  kovrin::test::ScratchFolder folderScratch_;
  kovrin::test::ScratchFolder outsideScratch_;
  fs::path folder_ = folderScratch_.Path();
  fs::path outside_ = outsideScratch_.Path();
};

void WriteBytes(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST_F(InFolder, ReadingStopsAtTheLimitAndDropsTheLineCutThere) {
  // 12-byte entries do not divide 1 MiB: the limit falls inside a line.
  const std::string line = "GL_RESX=16;\n";
  std::string bytes;
  while (bytes.size() < 2 * kMaxTextFileBytes) bytes += line;
  bytes += "GL_RESX=999;\n";
  WriteBytes("config.cfg", bytes);
  const std::string inLimit = bytes.substr(0, kMaxTextFileBytes);
  const std::string expected = JoinTextLines(inLimit.substr(0, inLimit.rfind('\n') + 1));
  const auto [text, boxes] = Read("config.cfg");
  EXPECT_EQ(text.size(), expected.size());
  EXPECT_TRUE(text == expected) << "the text is not the lines within the first MiB";
  EXPECT_EQ(boxes, "");
}

TEST_F(InFolder, AFileOfExactlyTheLimitIsReadToItsLastLine) {
  const std::string last = "GL_RESX=64;";  // without a line end
  std::string bytes;
  while (bytes.size() + 200 + last.size() < kMaxTextFileBytes) bytes += std::string(99, ' ') + "\n";
  bytes += std::string(kMaxTextFileBytes - last.size() - bytes.size() - 1, ' ') + "\n" + last;
  ASSERT_EQ(bytes.size(), kMaxTextFileBytes);
  WriteBytes("config.cfg", bytes);
  const std::string text = Read("config.cfg").first;
  EXPECT_EQ(text.substr(text.size() - 12), "GL_RESX=64; ");
}

struct OddName {
  const char* name;
  std::function<void(const fs::path& folder, const fs::path& outside)> make;
  bool asked;  // the "cannot be opened" question
  std::string text;
};

class ReadOddName : public InFolder, public testing::WithParamInterface<OddName> {};

TEST_P(ReadOddName, IsReadOrRefusedWithoutWaiting) {
  GetParam().make(folder_, outside_);
  const auto [text, boxes] = Read("config.cfg");
  EXPECT_EQ(text, GetParam().text);
  const std::string question = "Fehler beim Laden von config.cfg!\\nFortfahren?";
  EXPECT_EQ(boxes.find(question) != std::string::npos, GetParam().asked) << boxes;
}

INSTANTIATE_TEST_SUITE_P(
    Names, ReadOddName,
    testing::Values(
        OddName{"fifo", [](const fs::path& f, const fs::path&) { ::mkfifo((f / "config.cfg").c_str(), 0600); }, true,
                ""},
        OddName{"link_to_dev_zero",
                [](const fs::path& f, const fs::path&) { fs::create_symlink("/dev/zero", f / "config.cfg"); }, true,
                ""},
        OddName{"directory", [](const fs::path& f, const fs::path&) { fs::create_directory(f / "config.cfg"); }, true,
                ""},
        OddName{"dangling_symlink",
                [](const fs::path& f, const fs::path& o) { fs::create_symlink(o / "none", f / "config.cfg"); }, true,
                ""},
        OddName{"huge_sparse",
                [](const fs::path& f, const fs::path&) {
                  std::ofstream(f / "config.cfg").close();
                  fs::resize_file(f / "config.cfg", uintmax_t{2} << 30);
                },
                false, ""},
        // Reading follows a link to a regular file; only writing refuses one.
        OddName{"symlink_to_file",
                [](const fs::path& f, const fs::path& o) {
                  WriteBytes(o / "cfg", "GL_RESX=1;\r\n");
                  fs::create_symlink(o / "cfg", f / "config.cfg");
                },
                false, "GL_RESX=1; "}),
    [](const testing::TestParamInfo<OddName>& tp) { return std::string(tp.param.name); });

class WriteOddName : public InFolder, public testing::WithParamInterface<OddName> {};

// Nothing reported, nothing written anywhere but into a regular file of the
// folder, and whatever stood under the name is left as it was.
TEST_P(WriteOddName, LosesTheWriteAndLeavesTheThingAlone) {
  GetParam().make(folder_, outside_);
  const auto kind = fs::symlink_status("results.fps").type();
  WriteTextFile("42", "results.fps");
  EXPECT_EQ(fs::symlink_status("results.fps").type(), kind);
  for (const auto& entry : fs::directory_iterator(outside_)) {
    if (entry.is_regular_file()) {
      EXPECT_EQ(kovrin::test::ReadFileBytes(entry.path().string()), "keep") << entry.path();
    }
  }
  EXPECT_FALSE(fs::exists(outside_ / "made")) << "a file was created through a dangling link";
}

INSTANTIATE_TEST_SUITE_P(
    Names, WriteOddName,
    testing::Values(
        OddName{"symlink_to_outside_file",
                [](const fs::path& f, const fs::path& o) {
                  WriteBytes(o / "target", "keep");
                  fs::create_symlink(o / "target", f / "results.fps");
                },
                false, ""},
        OddName{"dangling_symlink",
                [](const fs::path& f, const fs::path& o) { fs::create_symlink(o / "made", f / "results.fps"); }, false,
                ""},
        OddName{"hard_link_to_outside_file",
                [](const fs::path& f, const fs::path& o) {
                  WriteBytes(o / "target", "keep");
                  fs::create_hard_link(o / "target", f / "results.fps");
                },
                false, ""},
        OddName{"fifo_without_reader",
                [](const fs::path& f, const fs::path&) { ::mkfifo((f / "results.fps").c_str(), 0600); }, false, ""},
        OddName{"link_to_dev_null",
                [](const fs::path& f, const fs::path&) { fs::create_symlink("/dev/null", f / "results.fps"); }, false,
                ""}),
    [](const testing::TestParamInfo<OddName>& tp) { return std::string(tp.param.name); });

TEST_F(InFolder, AFifoWithAReaderGetsNothingWritten) {
  ASSERT_EQ(::mkfifo("results.fps", 0600), 0);
  const int reader = ::open("results.fps", O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  WriteTextFile("42", "results.fps");
  char buffer[8];
  EXPECT_LE(::read(reader, buffer, sizeof buffer), 0) << "the result went into the pipe";
  ::close(reader);
}

}  // namespace
