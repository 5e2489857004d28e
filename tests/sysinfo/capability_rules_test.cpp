// The rules that turn platform facts into the report's figures and flags.
#include <gtest/gtest.h>

#include "launcher/sysinfo/capability_rules.h"
#include "launcher/sysinfo/guid_text.h"
#include "launcher/sysinfo/vulkan_source.h"

namespace kovrin::sysinfo {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

TEST(DepthWords, TakeConfigurationSizesExactly) {
  const std::vector<ConfigSizes> configs = {
      {32, 0, true, true},   // 8888 without depth
      {32, 24, true, true},  // 8888 with 24-bit z
      {16, 16, true, true},  // 565 with 16-bit z
      {30, 32, true, true},  // 10-10-10: no such render depth; its 32-bit z counts
  };
  const DepthWords words = DepthWordsFromConfigs(configs);
  EXPECT_EQ(words.render, kDepth32 | kDepth16) << std::hex << words.render;
  EXPECT_EQ(words.zBuffer, kDepth24 | kDepth16 | kDepth32) << std::hex << words.zBuffer;
}

TEST(DepthWords, IgnoreConfigurationsWithoutDesktopGlOrRgb) {
  const std::vector<ConfigSizes> configs = {
      {24, 24, false, true},  // OpenGL ES only
      {8, 16, true, false},   // a luminance buffer
  };
  const DepthWords words = DepthWordsFromConfigs(configs);
  EXPECT_EQ(words.render, 0u);
  EXPECT_EQ(words.zBuffer, 0u);
}

TEST(DepthWords, OddSizesGiveNoFlag) {
  EXPECT_EQ(DepthBit(15), 0u);
  EXPECT_EQ(DepthBit(0), 0u);
  EXPECT_EQ(DepthBit(8), kDepth8);
  EXPECT_EQ(DepthBit(24), kDepth24);
}

TEST(VulkanDepthWordsTest, ColourAndDepthAttachmentsAreCountedByBits) {
  const DepthWords words = VulkanDepthWords([](VkFormat format) -> VkFormatFeatureFlags {
    switch (format) {
      case VK_FORMAT_R5G6B5_UNORM_PACK16:
        return VK_FORMAT_FEATURE_COLOR_ATTACHMENT_BIT;
      case VK_FORMAT_R8G8B8_UNORM:  // sampled only: not a render target
        return VK_FORMAT_FEATURE_SAMPLED_IMAGE_BIT;
      case VK_FORMAT_B8G8R8A8_UNORM:
        return VK_FORMAT_FEATURE_COLOR_ATTACHMENT_BIT | VK_FORMAT_FEATURE_SAMPLED_IMAGE_BIT;
      case VK_FORMAT_D24_UNORM_S8_UINT:
        return VK_FORMAT_FEATURE_DEPTH_STENCIL_ATTACHMENT_BIT;
      case VK_FORMAT_D32_SFLOAT:
        return VK_FORMAT_FEATURE_DEPTH_STENCIL_ATTACHMENT_BIT;
      default:
        return 0;
    }
  });
  EXPECT_EQ(words.render, kDepth16 | kDepth32) << std::hex << words.render;
  EXPECT_EQ(words.zBuffer, kDepth24 | kDepth32) << std::hex << words.zBuffer;
}

TEST(VulkanApiNameTest, SpellsTheVersion) {
  EXPECT_EQ(VulkanApiName(VK_MAKE_API_VERSION(0, 1, 3, 230)), "Vulkan 1.3.230");
}

struct VisualCase {
  const char* what;
  std::vector<VisualSummary> visuals;
  std::uint32_t palCaps;
};

class PaletteFromVisuals : public ::testing::TestWithParam<VisualCase> {};

TEST_P(PaletteFromVisuals, OnlyPseudoColorHasAPalette) {
  EXPECT_EQ(PaletteCapsFromVisuals(GetParam().visuals), GetParam().palCaps)
      << GetParam().what << ": got 0x" << std::hex << PaletteCapsFromVisuals(GetParam().visuals);
}

constexpr int kTrueColor = 4;
constexpr int kDirectColor = 5;
constexpr int kStaticColor = 2;

INSTANTIATE_TEST_SUITE_P(
    Visuals, PaletteFromVisuals,
    ::testing::Values(VisualCase{"true colour", {{kTrueColor, 24, 256}, {kDirectColor, 24, 256}}, 0},
                      VisualCase{"no visuals", {}, 0},
                      VisualCase{"8-bit PseudoColor", {{kPseudoColor, 8, 256}}, kPalCaps8Bit | kPalCapsAllow256},
                      VisualCase{"8-bit PseudoColor with a short map", {{kPseudoColor, 8, 128}}, kPalCaps8Bit},
                      VisualCase{"read-only colours", {{kStaticColor, 8, 256}}, 0},
                      VisualCase{"1- and 2-bit PseudoColor",
                                 {{kPseudoColor, 1, 2}, {kPseudoColor, 2, 4}},
                                 kPalCaps1Bit | kPalCaps2Bit},
                      VisualCase{"4-bit PseudoColor has no line", {{kPseudoColor, 4, 16}}, 0}));

struct RefreshCase {
  std::uint64_t dotClock;
  std::uint32_t hTotal;
  std::uint32_t vTotal;
  bool doubleScan;
  bool interlace;
  std::uint32_t hertz;
};

class RefreshRate : public ::testing::TestWithParam<RefreshCase> {};

TEST_P(RefreshRate, ComesFromTheTimings) {
  const RefreshCase& c = GetParam();
  EXPECT_EQ(RefreshRateHz(c.dotClock, c.hTotal, c.vTotal, c.doubleScan, c.interlace), c.hertz)
      << "clock " << c.dotClock << " htotal " << c.hTotal << " vtotal " << c.vTotal;
}

INSTANTIATE_TEST_SUITE_P(Timings, RefreshRate,
                         ::testing::Values(RefreshCase{25175000, 800, 525, false, false, 60},     // 640x480 VGA
                                           RefreshCase{148500000, 2200, 1125, false, false, 60},  // 1080p
                                           RefreshCase{65000000, 1344, 806, false, false, 60},    // 60.004 rounds to 60
                                           RefreshCase{78750000, 1312, 800, false, false, 75},
                                           RefreshCase{74250000, 2200, 1125, false, true, 60},  // 1080i: 30 frames
                                           RefreshCase{25175000, 800, 525, true, false, 30},
                                           RefreshCase{0, 0, 0, false, false, 0},  // a virtual display
                                           RefreshCase{25175000, 0, 525, false, false, 0}));

TEST(VideoMemory, BudgetGivesTheFreeFigure) {
  const VideoMemory memory = VideoMemoryFigures(HeapFigures{8192 * kMiB, 6000 * kMiB, 1000 * kMiB}, false, 1);
  EXPECT_EQ(memory.total, 8192 * kMiB);
  EXPECT_EQ(memory.free, 5000 * kMiB);
}

TEST(VideoMemory, UsageAboveBudgetIsNoneFree) {
  const VideoMemory memory = VideoMemoryFigures(HeapFigures{1024 * kMiB, 100 * kMiB, 200 * kMiB}, true, 1);
  EXPECT_EQ(memory.free, 0u);
}

TEST(VideoMemory, SharedMemoryWithoutBudgetTakesTheSmallerOfHeapAndAvailable) {
  const HeapFigures heap{2048 * kMiB, std::nullopt, std::nullopt};
  EXPECT_EQ(VideoMemoryFigures(heap, true, 24000 * kMiB).free, 2048 * kMiB);
  EXPECT_EQ(VideoMemoryFigures(heap, true, 512 * kMiB).free, 512 * kMiB);
}

TEST(VideoMemory, DedicatedMemoryWithoutBudgetHasNoFreeFigure) {
  const VideoMemory memory =
      VideoMemoryFigures(HeapFigures{4096 * kMiB, std::nullopt, std::nullopt}, false, 24000 * kMiB);
  EXPECT_EQ(memory.total, 4096 * kMiB);
  EXPECT_FALSE(memory.free.has_value()) << "got " << memory.free.value_or(0);
}

TEST(VideoMemory, NoHeapNoFigures) {
  const VideoMemory memory = VideoMemoryFigures(std::nullopt, true, 1024);
  EXPECT_FALSE(memory.total.has_value());
  EXPECT_FALSE(memory.free.has_value());
}

TEST(TextureMemory, PlacementFollowsTheAllowedTypes) {
  // A discrete card: type 0 device-local, type 1 host memory.
  const std::vector<bool> discrete = {true, false};
  EXPECT_EQ(TextureMemoryCaps(0b11, discrete), kDevCapsTextureVideoMemory | kDevCapsTextureNonLocalVidMem);
  EXPECT_EQ(TextureMemoryCaps(0b01, discrete), kDevCapsTextureVideoMemory);
  EXPECT_EQ(TextureMemoryCaps(0b10, discrete), kDevCapsTextureNonLocalVidMem);
  // A software device whose one type is device-local.
  EXPECT_EQ(TextureMemoryCaps(0b1, {true}), kDevCapsTextureVideoMemory);
  // Bits beyond the known types are ignored.
  EXPECT_EQ(TextureMemoryCaps(0b100, discrete), 0u);
}

TEST(GuidText, FormatsBytesInOrderUpperCase) {
  const Uuid bytes = {0x6d, 0x65, 0x73, 0x61, 0x32, 0x32, 0x2e, 0x33, 0x2e, 0x36, 0x00, 0x00, 0xab, 0xcd, 0xef, 0x01};
  EXPECT_EQ(FormatGuid(bytes), "{6D657361-3232-2E33-2E36-0000ABCDEF01}");
}

TEST(GuidText, NamesGiveStableDistinctGuids) {
  const std::string software = FormatGuid(UuidFromName("egl:EGL_MESA_device_software"));
  EXPECT_EQ(software, FormatGuid(UuidFromName("egl:EGL_MESA_device_software")));
  EXPECT_NE(software, FormatGuid(UuidFromName("egl:/dev/dri/renderD128")));
  EXPECT_NE(FormatGuid(UuidFromName("egl:/dev/dri/renderD128")), FormatGuid(UuidFromName("egl:/dev/dri/renderD129")));
  EXPECT_EQ(software.size(), 38u);
  EXPECT_EQ(software.find_first_not_of("{}-0123456789ABCDEF"), std::string::npos) << software;
}

}  // namespace
}  // namespace kovrin::sysinfo
