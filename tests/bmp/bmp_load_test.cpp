// LoadBmpImage: the file on disk, and the one message box a failure shows.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/bmp/bmp_test_util.h"
#include "tests/support/scratch_folder.h"

using kovrin::framework::BmpError;
using kovrin::framework::BmpErrorMessage;

namespace kovrin::test::bmp {
namespace {

TEST(bmpErrorMessage, TextsOfEveryFailure) {
  EXPECT_EQ(BmpErrorMessage(BmpError::OpenFailed, "data/x.tex"), "Failed to open DIB file data/x.tex.\n");
  EXPECT_EQ(BmpErrorMessage(BmpError::UnknownFormat, "ignored"), "Unknown DIB file format.");
  EXPECT_EQ(BmpErrorMessage(BmpError::OutOfMemory, "ignored"), "Out of memory.");
  EXPECT_EQ(BmpErrorMessage(BmpError::ConversionError, "ignored"), "Image file conversion error.");
}

TEST(bmpErrorMessage, LongPathIsCutTo255Characters) {
  const std::string path(400, 'p');
  const std::string full = "Failed to open DIB file " + path + ".\n";
  const std::string text = BmpErrorMessage(BmpError::OpenFailed, path);
  EXPECT_EQ(text.size(), 255u);
  EXPECT_EQ(text, full.substr(0, 255));
}

TEST(bmpErrorMessage, PathThatJustFits) {
  // 24 characters before the path and ".\n" after it: 229 path characters fill 255.
  const std::string path(229, 'q');
  EXPECT_EQ(BmpErrorMessage(BmpError::OpenFailed, path), "Failed to open DIB file " + path + ".\n");
}

// Runs each test in a scratch folder with unattended message boxes, so that a
// box becomes one "[msgbox]" line on stderr.
class bmpLoadImage : public ::testing::Test {
 protected:
  void SetUp() override {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    oldCwd_ = cwd;
    ASSERT_EQ(chdir(dir_.Path().c_str()), 0);
    setenv("KOVRIN_MSGBOX", "default", 1);
  }
  void TearDown() override { EXPECT_EQ(chdir(oldCwd_.c_str()), 0); }

  static void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  // Loads and returns the image; box receives what was written on stderr.
  static std::unique_ptr<ImageRecord> Load(const char* path, std::string& box) {
    ::testing::internal::CaptureStderr();
    std::unique_ptr<ImageRecord> image = LoadBmpImage(path);
    box = ::testing::internal::GetCapturedStderr();
    return image;
  }

  static std::string BoxLine(const std::string& text) {
    return "[msgbox] caption: Error | text: " + text + " | buttons: OK | answer: OK\n";
  }

  kovrin::test::ScratchFolder dir_;
  std::string oldCwd_;
};

TEST_F(bmpLoadImage, MissingFileNamesItsPath) {
  std::string box;
  EXPECT_EQ(Load("data/x.tex", box), nullptr);
  EXPECT_EQ(box, BoxLine("Failed to open DIB file data/x.tex.\\n"));
}

TEST_F(bmpLoadImage, ValidFileLoadsWithoutAMessage) {
  BmpShape shape;
  shape.width = 2;
  shape.height = 1;
  shape.pixels = PackRows(24, {{0x102030, 0x405060}});
  ASSERT_EQ(mkdir("data", 0755), 0);
  Write("data/ok.tex", BuildBmp(shape));
  std::string box;
  const std::unique_ptr<ImageRecord> image = Load("data/ok.tex", box);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(box, "");
  EXPECT_TRUE(SamePixels(*image, 2, 1, {{0x10, 0x20, 0x30}, {0x40, 0x50, 0x60}}));
}

TEST_F(bmpLoadImage, EmptyFileCannotBeMappedSoCannotBeOpened) {
  Write("empty.tex", {});
  std::string box;
  EXPECT_EQ(Load("empty.tex", box), nullptr);
  EXPECT_EQ(box, BoxLine("Failed to open DIB file empty.tex.\\n"));
}

TEST_F(bmpLoadImage, FolderIsNoFile) {
  ASSERT_EQ(mkdir("folder.tex", 0755), 0);
  std::string box;
  EXPECT_EQ(Load("folder.tex", box), nullptr);
  EXPECT_EQ(box, BoxLine("Failed to open DIB file folder.tex.\\n"));
}

TEST_F(bmpLoadImage, FifoDoesNotHang) {
  ASSERT_EQ(mkfifo("pipe.tex", 0644), 0);
  std::string box;
  EXPECT_EQ(Load("pipe.tex", box), nullptr);
  EXPECT_EQ(box, BoxLine("Failed to open DIB file pipe.tex.\\n"));
}

TEST_F(bmpLoadImage, DeviceAndDanglingLinkAreNoFiles) {
  ASSERT_EQ(symlink("/dev/zero", "zero.tex"), 0);
  ASSERT_EQ(symlink("nowhere.tex", "dangling.tex"), 0);
  std::string box;
  EXPECT_EQ(Load("zero.tex", box), nullptr);
  EXPECT_EQ(box, BoxLine("Failed to open DIB file zero.tex.\\n"));
  EXPECT_EQ(Load("dangling.tex", box), nullptr);
  EXPECT_EQ(box, BoxLine("Failed to open DIB file dangling.tex.\\n"));
}

// Mapped, not read: only the header's page is touched, whatever the size.
TEST_F(bmpLoadImage, HugeSparseFileIsJudgedByItsHeader) {
  Write("sparse.tex", {});
  ASSERT_EQ(truncate("sparse.tex", off_t{2} << 30), 0);
  std::string box;
  EXPECT_EQ(Load("sparse.tex", box), nullptr);
  EXPECT_EQ(box, BoxLine("Unknown DIB file format."));
}

TEST_F(bmpLoadImage, LongPathMessageIsCut) {
  const std::string path = "data/" + std::string(300, 'n') + ".tex";
  std::string box;
  EXPECT_EQ(Load(path.c_str(), box), nullptr);
  const std::string text = ("Failed to open DIB file " + path).substr(0, 255);
  EXPECT_EQ(box, BoxLine(text));
}

// One failed file of each decoding category shows exactly its one message.
struct FailureCase {
  const char* name;
  BmpShape shape;
  const char* text;
};

class LoadFailure : public bmpLoadImage, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(LoadFailure, ShowsOneMessage) {
  Write("bad.tex", BuildBmp(GetParam().shape));
  std::string box;
  EXPECT_EQ(Load("bad.tex", box), nullptr);
  EXPECT_EQ(box, BoxLine(GetParam().text));
}

BmpShape Header108() {
  BmpShape shape;
  shape.headerSize = 108;
  shape.pixels = {1, 2, 3, 0};
  return shape;
}

BmpShape HugeImage() {
  BmpShape shape;
  shape.width = 100000;
  shape.height = 100000;
  shape.bitsPerPixel = 8;
  shape.compression = kBiRle8;
  shape.colorsUsed = 1;
  shape.palette = TestPalette(1);
  shape.pixels = {0, 1};
  return shape;
}

BmpShape ShortPixels() {
  BmpShape shape;
  shape.width = 4;
  shape.height = 4;
  shape.pixels = {1, 2, 3};
  return shape;
}

INSTANTIATE_TEST_SUITE_P(bmp, LoadFailure,
                         ::testing::Values(FailureCase{"header_108", Header108(), "Unknown DIB file format."},
                                           FailureCase{"huge", HugeImage(), "Out of memory."},
                                           FailureCase{"short_pixels", ShortPixels(), "Image file conversion error."}),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace kovrin::test::bmp
