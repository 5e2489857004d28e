// The report's lines, written from a fake provider: the layout, the flag
// tables, the number format in place, and what stays after a failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "launcher/sysinfo/system_report.h"
#include "tests/sysinfo/fake_provider.h"

namespace kovrin::sysinfo {
namespace {

using testing::FakeAdapter;
using testing::FakeProvider;
using Lines = std::vector<std::string>;

constexpr std::uint64_t kMiB = 1024 * 1024;

// An adapter whose palette and gamma were asked and came back empty.
FakeAdapter Adapter(const std::string& guid) {
  FakeAdapter adapter;
  adapter.identity = {guid, "Card " + guid, "driver-" + guid};
  adapter.caps.palCaps = 0;
  adapter.caps.canCalibrateGamma = false;
  return adapter;
}

DeviceDesc Device(const std::string& guid) {
  DeviceDesc device;
  device.guid = guid;
  device.description = "Device " + guid;
  device.name = "Name " + guid;
  device.maxTextureWidth = 2048;
  device.maxTextureHeight = 1024;
  return device;
}

DisplayMode Mode(std::uint32_t width, std::uint32_t height, std::uint32_t bits, std::uint32_t rate) {
  DisplayMode mode;
  mode.width = width;
  mode.height = height;
  mode.bitsPerPixel = bits;
  mode.refreshRate = rate;
  return mode;
}

Lines Report(std::vector<FakeAdapter> adapters) {
  FakeProvider provider(std::move(adapters));
  return BuildReport(provider);
}

// The lines a section wrote, from the one after `first` up to (without) `last`.
Lines Between(const Lines& lines, const std::string& first, const std::string& last) {
  const auto begin = std::find(lines.begin(), lines.end(), first);
  const auto end = std::find(begin, lines.end(), last);
  return begin == lines.end() ? Lines{} : Lines(begin + 1, end);
}

std::string Joined(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += "[" + line + "]\n";
  }
  return text;
}

TEST(DisplayCards, NoAdapterGivesTheHeadingAlone) { EXPECT_EQ(Report({}), Lines{"Display Cards"}); }

TEST(DisplayCards, OneAdapterIsWrittenSectionBySection) {
  FakeAdapter adapter = Adapter("{A}");
  adapter.caps.vidMemTotal = 32 * kMiB;
  adapter.caps.vidMemFree = 31 * kMiB + kMiB / 2;
  adapter.caps.canCalibrateGamma = true;
  DeviceDesc device = Device("{D}");
  device.renderBitDepth = kDepth16 | kDepth32;
  device.zBufferBitDepth = kDepth16 | kDepth24;
  device.devCaps = kDevCapsTextureNonLocalVidMem | kDevCapsTextureVideoMemory;
  adapter.devices = {device};
  adapter.modes = {Mode(640, 480, 16, 0), Mode(1024, 768, 32, 75)};

  const Lines expected = {
      "Display Cards",
      " Index         1",
      " Description  Card {A}",
      " Name         driver-{A}",
      " GUID         {A}",
      "",
      "  HW CAPS",
      "   total video memory  32 mbyte",
      "   free video memory  31.5 mbyte",
      "   no hw palette support",
      "   supports gamma correction",
      "   D3D devices",
      "",
      "     Guid        {D}",
      "     Description Device {D}",
      "     Name        Name {D}",
      "    Device ",
      "     Max Texture Height   1024 Pixel",
      "     Max Texture Width    2048 Pixel",
      "     Supports rendering to 16 bit",
      "     Supports rendering to 32 bit",
      "     Supports  16 bit z buffer",
      "     Supports 24 bit z buffer",
      "     Supports AGP textures",
      "     IM can uses video memory to store textures",
      "",
      " Display Modes",
      "  Index           1",
      "  Width           640",
      "  Height          480",
      "  Bits Per Pixel  16",
      "  Refresh Rate    0",
      "",
      "  Index           2",
      "  Width           1024",
      "  Height          768",
      "  Bits Per Pixel  32",
      "  Refresh Rate    75",
      "",
  };
  const Lines got = Report({adapter});
  EXPECT_EQ(got, expected) << "expected:\n" << Joined(expected) << "got:\n" << Joined(got);
}

TEST(DisplayCards, TwoAdaptersFollowOneAnotherInOrder) {
  FakeAdapter first = Adapter("{1}");
  first.devices = {Device("{D1}")};
  first.modes = {Mode(800, 600, 32, 60)};
  FakeAdapter second = Adapter("{2}");
  FakeProvider provider({first, second});
  const Lines lines = BuildReport(provider);

  const auto at = [&lines](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
  };
  const std::vector<std::string> order = {" Index         1",      " GUID         {1}", "  HW CAPS",
                                          "     Guid        {D1}", " Display Modes",    "  Width           800",
                                          " Index         2",      " GUID         {2}"};
  for (std::size_t i = 1; i < order.size(); ++i) {
    EXPECT_LT(at(order[i - 1]), at(order[i])) << "expected [" << order[i - 1] << "] before [" << order[i] << "] in\n"
                                              << Joined(lines);
  }
  // The second adapter's sections end the report: caps, an empty device list, no modes.
  const Lines tail(lines.end() - 11, lines.end());
  EXPECT_EQ(tail, (Lines{" Index         2", " Description  Card {2}", " Name         driver-{2}", " GUID         {2}",
                         "", "  HW CAPS", "   no hw palette support", "   no support for gamma correction",
                         "   D3D devices", "", " Display Modes"}))
      << Joined(tail);
  EXPECT_EQ(provider.guidsAsked, (std::vector<std::string>{"{1}", "{1}", "{1}", "{1}", "{2}", "{2}", "{2}"}));
}

struct PaletteCase {
  std::uint32_t palCaps;
  Lines lines;
};

class PaletteLines : public ::testing::TestWithParam<PaletteCase> {};

TEST_P(PaletteLines, FollowTheCapabilityWord) {
  FakeAdapter adapter = Adapter("{P}");
  adapter.caps.palCaps = GetParam().palCaps;
  const Lines got = Between(Report({adapter}), "  HW CAPS", "   no support for gamma correction");
  EXPECT_EQ(got, GetParam().lines) << "palette word 0x" << std::hex << GetParam().palCaps << "\n" << Joined(got);
}

INSTANTIATE_TEST_SUITE_P(
    Caps, PaletteLines,
    ::testing::Values(PaletteCase{0, {"   no hw palette support"}},
                      PaletteCase{kPalCaps1Bit, {"   palette support 1bpp "}},
                      PaletteCase{kPalCaps2Bit, {"   palette support 2bit "}},
                      PaletteCase{kPalCaps8Bit | kPalCapsAllow256,
                                  {"   palette support 8bit ", "   palette support setting all 256 colors"}},
                      PaletteCase{kPalCaps8BitEntries, {"   palette support 8bit entries "}},
                      // Bits without a line of their own give no line, and the word is not 0.
                      PaletteCase{0x1, {}},
                      PaletteCase{kPalCapsAllow256 | kPalCaps8BitEntries | kPalCaps8Bit | kPalCaps2Bit | kPalCaps1Bit,
                                  {"   palette support 1bpp ", "   palette support 2bit ", "   palette support 8bit ",
                                   "   palette support 8bit entries ", "   palette support setting all 256 colors"}}));

TEST(CapsLines, MemoryIsPrintedInMebibytesWithItsLeadingSpace) {
  FakeAdapter adapter = Adapter("{M}");
  adapter.caps.vidMemTotal = 2048 * kMiB;
  adapter.caps.vidMemFree = 3 * kMiB / 4;
  const Lines got = Between(Report({adapter}), "  HW CAPS", "   no hw palette support");
  EXPECT_EQ(got, (Lines{"   total video memory  2048 mbyte", "   free video memory  0.75 mbyte"})) << Joined(got);
}

TEST(CapsLines, UnknownMemoryFiguresAreLeftOut) {
  FakeAdapter adapter = Adapter("{M}");
  adapter.caps.vidMemTotal = 64 * kMiB;
  const Lines got = Between(Report({adapter}), "  HW CAPS", "   no hw palette support");
  EXPECT_EQ(got, Lines{"   total video memory  64 mbyte"}) << Joined(got);
}

TEST(CapsLines, GammaLineFollowsTheFlag) {
  FakeAdapter with = Adapter("{G}");
  with.caps.canCalibrateGamma = true;
  const Lines yes = Between(Report({with}), "   no hw palette support", "   D3D devices");
  EXPECT_EQ(yes, Lines{"   supports gamma correction"}) << Joined(yes);
  const Lines no = Between(Report({Adapter("{G}")}), "   no hw palette support", "   D3D devices");
  EXPECT_EQ(no, Lines{"   no support for gamma correction"}) << Joined(no);
}

struct UnaskedCase {
  const char* what;
  std::optional<std::uint32_t> palCaps;
  std::optional<bool> gamma;
  Lines lines;  // the section after "  HW CAPS"
};

class UnaskedCapsLines : public ::testing::TestWithParam<UnaskedCase> {};

// A figure nobody asked for is no answer: its lines are left out, as the
// memory lines are, instead of claiming the adapter lacks the capability.
TEST_P(UnaskedCapsLines, AreLeftOut) {
  FakeAdapter adapter = Adapter("{U}");
  adapter.caps.palCaps = GetParam().palCaps;
  adapter.caps.canCalibrateGamma = GetParam().gamma;
  const Lines got = Between(Report({adapter}), "  HW CAPS", "   D3D devices");
  EXPECT_EQ(got, GetParam().lines) << GetParam().what << "\n" << Joined(got);
}

INSTANTIATE_TEST_SUITE_P(
    Caps, UnaskedCapsLines,
    ::testing::Values(
        UnaskedCase{"neither asked", std::nullopt, std::nullopt, {}},
        UnaskedCase{"palette unasked, no gamma", std::nullopt, false, {"   no support for gamma correction"}},
        UnaskedCase{"palette unasked, gamma", std::nullopt, true, {"   supports gamma correction"}},
        UnaskedCase{"no palette, gamma unasked", 0u, std::nullopt, {"   no hw palette support"}},
        UnaskedCase{"8-bit palette, gamma unasked", kPalCaps8Bit, std::nullopt, {"   palette support 8bit "}}));

struct DeviceCase {
  const char* what;
  std::uint32_t render;
  std::uint32_t zBuffer;
  std::uint32_t devCaps;
  Lines lines;  // the capability lines after the texture sizes
};

class DeviceCapabilityLines : public ::testing::TestWithParam<DeviceCase> {};

TEST_P(DeviceCapabilityLines, FollowTheDeviceRecord) {
  FakeAdapter adapter = Adapter("{X}");
  DeviceDesc device = Device("{D}");
  device.renderBitDepth = GetParam().render;
  device.zBufferBitDepth = GetParam().zBuffer;
  device.devCaps = GetParam().devCaps;
  adapter.devices = {device};
  const Lines lines = Report({adapter});
  const Lines got = Between(lines, "     Max Texture Width    2048 Pixel", "");
  EXPECT_EQ(got, GetParam().lines) << GetParam().what << "\n" << Joined(got);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, DeviceCapabilityLines,
    ::testing::Values(DeviceCase{"no z buffer", 0, 0, 0, {"     no z buffer support"}},
                      DeviceCase{"16 then 24 bit z buffer",
                                 0,
                                 kDepth24 | kDepth16,
                                 0,
                                 {"     Supports  16 bit z buffer", "     Supports 24 bit z buffer"}},
                      DeviceCase{"8 and 32 bit z buffer",
                                 0,
                                 kDepth32 | kDepth8,
                                 0,
                                 {"     Supports  8 bit z buffer", "     Supports 32 bit z buffer"}},
                      DeviceCase{"every render depth",
                                 kDepth32 | kDepth24 | kDepth16 | kDepth8,
                                 kDepth16,
                                 0,
                                 {"     Supports rendering to 8 bit", "     Supports rendering to 16 bit",
                                  "     Supports rendering to 24 bit", "     Supports rendering to 32 bit",
                                  "     Supports  16 bit z buffer"}},
                      DeviceCase{"exact sort alone",
                                 0,
                                 kDepth16,
                                 kDevCapsSortExact,
                                 {"     Supports  16 bit z buffer", "     IM triangles must be sorted exactly"}},
                      DeviceCase{"every device capability",
                                 0,
                                 kDepth16,
                                 kDevCapsTextureVideoMemory | kDevCapsSortIncreasingZ | kDevCapsSortExact |
                                     kDevCapsSortDecreasingZ | kDevCapsTextureNonLocalVidMem,
                                 {"     Supports  16 bit z buffer", "     Supports AGP textures",
                                  "     IM triangles must be sorted by decreasing depth",
                                  "     IM triangles must be sorted exactly",
                                  "     IM triangles must be sorted by increasing depth",
                                  "     IM can uses video memory to store textures"}}));

TEST(DeviceLines, EveryDeviceIsFollowedByABlankLine) {
  FakeAdapter adapter = Adapter("{X}");
  adapter.devices = {Device("{D1}"), Device("{D2}")};
  const Lines got = Between(Report({adapter}), "   D3D devices", " Display Modes");
  ASSERT_EQ(got.size(), 1u + 2u * 8u) << Joined(got);
  EXPECT_EQ(got[0], "");
  EXPECT_EQ(got[1], "     Guid        {D1}");
  EXPECT_EQ(got[8], "");
  EXPECT_EQ(got[9], "     Guid        {D2}");
  EXPECT_EQ(got[16], "");
}

TEST(ModeLines, A640PixelWidthHasElevenSpacesBeforeItsDigits) {
  FakeAdapter adapter = Adapter("{W}");
  adapter.modes = {Mode(640, 480, 32, 0)};
  const Lines lines = Report({adapter});
  const auto width =
      std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("  Width", 0) == 0; });
  ASSERT_NE(width, lines.end()) << Joined(lines);
  EXPECT_EQ(*width, "  Width" + std::string(11, ' ') + "640");
}

TEST(ModeLines, RefreshRateZeroPrintsAsSpaceAndZero) {
  FakeAdapter adapter = Adapter("{R}");
  adapter.modes = {Mode(1024, 768, 16, 0)};
  const Lines lines = Report({adapter});
  EXPECT_NE(std::find(lines.begin(), lines.end(), "  Refresh Rate    0"), lines.end()) << Joined(lines);
}

TEST(ModeLines, UnknownBitsPerPixelAreLeftOut) {
  FakeAdapter adapter = Adapter("{K}");
  DisplayMode mode = Mode(1920, 1080, 0, 0);
  mode.bitsPerPixel.reset();
  adapter.modes = {mode};
  const Lines got = Between(Report({adapter}), " Display Modes", "");
  EXPECT_EQ(got,
            (Lines{"  Index           1", "  Width           1920", "  Height          1080", "  Refresh Rate    0"}))
      << Joined(got);
}

TEST(Failures, LinesWrittenBeforeAFailedQueryStay) {
  FakeAdapter adapter = Adapter("{F}");
  adapter.devices = {Device("{D1}"), Device("{D2}")};
  FakeProvider provider({adapter});
  provider.FailAt("Device", 2);
  LineCollector out;
  try {
    SystemReport(provider, out).GetDisplayCards();
    FAIL() << "expected the failing device query to end the report";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.number(), -4);
  }
  ASSERT_FALSE(out.lines.empty());
  EXPECT_EQ(out.lines.back(), "") << "the first device's closing blank line\n" << Joined(out.lines);
  EXPECT_EQ(std::count(out.lines.begin(), out.lines.end(), "     Guid        {D1}"), 1);
  EXPECT_EQ(std::count(out.lines.begin(), out.lines.end(), "     Guid        {D2}"), 0);
  EXPECT_EQ(provider.calls["Modes"], 0) << "nothing after the failure is asked";
}

TEST(Failures, AFailedCapabilityQueryLeavesTheIdentity) {
  FakeProvider provider({Adapter("{F}")});
  provider.FailAt("Caps", 1);
  LineCollector out;
  EXPECT_THROW(SystemReport(provider, out).GetDisplayCards(), PlatformError);
  EXPECT_EQ(out.lines, (Lines{"Display Cards", " Index         1", " Description  Card {F}", " Name         driver-{F}",
                              " GUID         {F}", ""}))
      << Joined(out.lines);
}

}  // namespace
}  // namespace kovrin::sysinfo
