// The kernel's text files: /proc/meminfo and the DRM class folder, laid out
// by the test in a scratch folder.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "launcher/sysinfo/sysfs_facts.h"
#include "tests/support/scratch_folder.h"

namespace kovrin::sysinfo {
namespace {

namespace fs = std::filesystem;

TEST(MemAvailable, ReadsKibibytesAsBytes) {
  const char* meminfo =
      "MemTotal:       24683772 kB\n"
      "MemFree:        23962796 kB\n"
      "MemAvailable:   24291324 kB\n"
      "Buffers:           12 kB\n";
  EXPECT_EQ(ParseMemAvailable(meminfo), std::uint64_t{24291324} * 1024);
}

TEST(MemAvailable, MissingOrMalformedGivesNothing) {
  EXPECT_FALSE(ParseMemAvailable("MemTotal: 100 kB\n").has_value());
  EXPECT_FALSE(ParseMemAvailable("MemAvailable: lots kB\n").has_value());
  EXPECT_FALSE(ParseMemAvailable("MemAvailable: 100\n").has_value()) << "a value without its unit";
  EXPECT_FALSE(ParseMemAvailable("MemAvailable: 100 MB\n").has_value());
  EXPECT_FALSE(ParseMemAvailable("MemAvailable: 99999999999999999999 kB\n").has_value());
  EXPECT_FALSE(ParseMemAvailable("").has_value());
}

TEST(MemAvailable, ThisMachineHasAFigure) {
  const auto bytes = ReadMemAvailable();
  ASSERT_TRUE(bytes.has_value()) << "/proc/meminfo has MemAvailable on every kernel since 3.14";
  EXPECT_GT(*bytes, 0u);
}

struct ModeNameCase {
  const char* line;
  bool valid;
  std::uint32_t width;
  std::uint32_t height;
};

class KernelModeName : public ::testing::TestWithParam<ModeNameCase> {};

TEST_P(KernelModeName, ParsesWidthAndHeight) {
  const auto mode = ParseKernelModeName(GetParam().line);
  ASSERT_EQ(mode.has_value(), GetParam().valid) << "line [" << GetParam().line << "]";
  if (mode) {
    EXPECT_EQ(mode->width, GetParam().width);
    EXPECT_EQ(mode->height, GetParam().height);
    EXPECT_EQ(mode->refreshRate, 0u) << "the kernel's list has no rate";
    EXPECT_FALSE(mode->bitsPerPixel.has_value());
  }
}

INSTANTIATE_TEST_SUITE_P(Lines, KernelModeName,
                         ::testing::Values(ModeNameCase{"1920x1080", true, 1920, 1080},
                                           ModeNameCase{"1920x1080i", true, 1920, 1080},
                                           ModeNameCase{"640x480\n", true, 640, 480}, ModeNameCase{"", false, 0, 0},
                                           ModeNameCase{"x480", false, 0, 0}, ModeNameCase{"640x", false, 0, 0},
                                           ModeNameCase{"640x480p", false, 0, 0}, ModeNameCase{"wide", false, 0, 0},
                                           // The width, too, is digits only.
                                           ModeNameCase{"19+20x1080i", false, 0, 0},
                                           ModeNameCase{"12abcx480", false, 0, 0}));

class DrmClassFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = scratch_ / "drm";
    fs::create_directories(root_);
  }

  void Write(const fs::path& relative, const std::string& text) {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative) << text;
  }

  kovrin::test::ScratchFolder scratch_;
  fs::path root_;
};

TEST_F(DrmClassFolder, ListsCardsOnly) {
  Write("card1/dev", "226:1\n");
  Write("card0/dev", "226:0\n");
  Write("card0-HDMI-A-1/modes", "");
  Write("renderD128/dev", "226:128\n");
  Write("version", "drm 1.1.0\n");
  EXPECT_EQ(KernelCards(root_), (std::vector<std::string>{"card0", "card1"}));
}

TEST_F(DrmClassFolder, ModesOfEveryConnectorOfTheCardOnceEach) {
  Write("card0/device/graphics/fb0/bits_per_pixel", "32\n");
  Write("card0-DP-1/modes", "2560x1440\n1920x1080\n1920x1080\n");
  Write("card0-HDMI-A-1/modes", "1920x1080\n1280x720\n1920x1080i\n");
  Write("card1-VGA-1/modes", "1024x768\n");
  const std::vector<DisplayMode> modes = KernelModesOfCard("card0", root_);
  ASSERT_EQ(modes.size(), 4u);
  const std::pair<std::uint32_t, std::uint32_t> expected[] = {{2560, 1440}, {1920, 1080}, {1280, 720}, {1920, 1080}};
  for (std::size_t i = 0; i < modes.size(); ++i) {
    EXPECT_EQ(modes[i].width, expected[i].first) << "mode " << i;
    EXPECT_EQ(modes[i].height, expected[i].second) << "mode " << i;
    EXPECT_EQ(modes[i].bitsPerPixel, 32u) << "mode " << i;
    EXPECT_EQ(modes[i].refreshRate, 0u) << "mode " << i;
  }
}

TEST_F(DrmClassFolder, WithoutAConsoleTheDepthStaysUnknown) {
  Write("card2-eDP-1/modes", "1366x768\n");
  const std::vector<DisplayMode> modes = KernelModesOfCard("card2", root_);
  ASSERT_EQ(modes.size(), 1u);
  EXPECT_FALSE(modes[0].bitsPerPixel.has_value());
}

// A pipe or an endless file where the kernel's text should be: the report
// neither waits nor reads without end.
TEST_F(DrmClassFolder, PipesAndHugeFilesAreNotKernelText) {
  Write("card0/device/graphics/fb0/dummy", "");
  ASSERT_EQ(::mkfifo((root_ / "card0/device/graphics/fb0/bits_per_pixel").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((root_ / "card0/device/boot_vga").c_str(), 0600), 0);
  Write("card0-DP-1/dummy", "");
  ASSERT_EQ(::mkfifo((root_ / "card0-DP-1/modes").c_str(), 0600), 0);
  std::string huge = "800x600\n";
  while (huge.size() < 200 * 1024) huge += "1024x768\n";
  huge += "640x480\n";
  Write("card0-HDMI-A-1/modes", huge);
  const std::vector<DisplayMode> modes = KernelModesOfCard("card0", root_);
  ASSERT_EQ(modes.size(), 2u) << "only the first 64 KiB are read: 800x600 and 1024x768";
  EXPECT_EQ(modes[0].width, 800u);
  EXPECT_EQ(modes[1].width, 1024u);
  EXPECT_FALSE(modes[0].bitsPerPixel.has_value());
  EXPECT_FALSE(IsBootVga("card0", root_));
  ASSERT_EQ(::mkfifo((root_ / "meminfo").c_str(), 0600), 0);
  EXPECT_FALSE(ReadMemAvailable(root_ / "meminfo").has_value());
}

TEST_F(DrmClassFolder, AMissingFolderGivesNothing) {
  EXPECT_TRUE(KernelCards(root_ / "absent").empty());
  EXPECT_TRUE(KernelModesOfCard("card0", root_ / "absent").empty());
}

TEST_F(DrmClassFolder, BootVgaIsReadFromTheCardsDevice) {
  Write("card0/device/boot_vga", "0\n");
  Write("card1/device/boot_vga", "1\n");
  EXPECT_FALSE(IsBootVga("card0", root_));
  EXPECT_TRUE(IsBootVga("card1", root_));
  EXPECT_FALSE(IsBootVga("card7", root_));
}

}  // namespace
}  // namespace kovrin::sysinfo
