// Every accepted pixel format, with both header kinds, with and without file
// header, stored bottom-up and top-down, decodes to the right RGB pixels.
#include <cmath>
#include <functional>
#include <string>
#include <tuple>

#include "tests/bmp/bmp_test_util.h"

using kovrin::framework::BmpError;
using kovrin::framework::BmpResult;

namespace kovrin::test::bmp {
namespace {

constexpr int kWidth = 5;  // odd, so that every depth but 32 bits pads its rows
constexpr int kHeight = 3;

uint8_t Scale(uint32_t value, int bits) {
  const double max = std::ldexp(1.0, bits) - 1;
  return static_cast<uint8_t>(std::lround(value * 255.0 / max));
}

// One pixel format: the value stored at (x, row from bottom) and the colour
// it stands for.
struct Format {
  const char* name;
  uint16_t bitsPerPixel;
  uint32_t compression;
  std::vector<uint32_t> masks;
  size_t paletteSize;
  std::function<uint32_t(int x, int y)> stored;
  std::function<Rgb(uint32_t stored, const std::vector<Rgb>& palette)> colour;
};

uint32_t IndexAt(int x, int y, size_t n) { return static_cast<uint32_t>((x * 3 + y * 5 + 1) % static_cast<int>(n)); }
uint32_t Field(int x, int y, int a, int b, int bits) {
  return static_cast<uint32_t>((x * a + y * b + 2) % (1 << bits));
}

Format Indexed(const char* name, uint16_t bpp, size_t n) {
  return {name,
          bpp,
          kBiRgb,
          {},
          n,
          [n](int x, int y) { return IndexAt(x, y, n); },
          [](uint32_t v, const std::vector<Rgb>& palette) { return palette[v]; }};
}

// Three channels of the given widths at the given positions (low bit first:
// blue, green, red), plus bits outside the masks that must be ignored.
Format Packed(const char* name, uint16_t bpp, uint32_t compression, int rBits, int gBits, int bBits, int bShift,
              int gShift, int rShift, uint32_t junk) {
  std::vector<uint32_t> masks;
  if (compression == kBiBitFields) {
    masks = {((1u << rBits) - 1) << rShift, ((1u << gBits) - 1) << gShift, ((1u << bBits) - 1) << bShift};
  }
  auto stored = [=](int x, int y) {
    return Field(x, y, 7, 3, rBits) << rShift | Field(x, y, 5, 11, gBits) << gShift |
           Field(x, y, 13, 1, bBits) << bShift | ((x + y) % 2 ? junk : 0);
  };
  auto colour = [=](uint32_t v, const std::vector<Rgb>&) {
    auto channel = [v](int bits, int shift) { return Scale((v >> shift) & ((1u << bits) - 1), bits); };
    return Rgb{channel(rBits, rShift), channel(gBits, gShift), channel(bBits, bShift)};
  };
  return {name, bpp, compression, masks, 0, stored, colour};
}

Format Rgb24() {
  return {"rgb24",
          24,
          kBiRgb,
          {},
          0,
          [](int x, int y) { return static_cast<uint32_t>((x * 40 + y) << 16 | (200 - x * 10) << 8 | (y * 60 + 7)); },
          [](uint32_t v, const std::vector<Rgb>&) {
            return Rgb{static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
          }};
}

const std::vector<Format>& Formats() {
  static const std::vector<Format> formats = {
      Indexed("pal1", 1, 2),
      Indexed("pal4", 4, 16),
      Indexed("pal8", 8, 256),
      Packed("rgb555", 16, kBiRgb, 5, 5, 5, 0, 5, 10, 0x8000u),
      Rgb24(),
      Packed("rgb32", 32, kBiRgb, 8, 8, 8, 0, 8, 16, 0x5A000000u),
      Packed("bf565", 16, kBiBitFields, 5, 6, 5, 0, 5, 11, 0),
      Packed("bf444", 16, kBiBitFields, 4, 4, 4, 0, 4, 8, 0xF000u),
      Packed("bf32rgbx", 32, kBiBitFields, 8, 8, 8, 16, 8, 0, 0xA5000000u),
      Packed("bf32_10_11_11", 32, kBiBitFields, 10, 11, 11, 0, 11, 22, 0),
  };
  return formats;
}

struct Layout {
  uint32_t headerSize;
  bool fileHeader;
  bool topDown;
};

using FormatCase = std::tuple<size_t, Layout>;

class AcceptedFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(AcceptedFormat, DecodesToThePicture) {
  const Format& format = Formats()[std::get<0>(GetParam())];
  const Layout layout = std::get<1>(GetParam());
  BmpShape shape;
  shape.headerSize = layout.headerSize;
  shape.fileHeader = layout.fileHeader;
  shape.width = kWidth;
  shape.height = layout.topDown ? -kHeight : kHeight;
  shape.bitsPerPixel = format.bitsPerPixel;
  shape.compression = format.compression;
  shape.masks = format.masks;
  shape.palette = TestPalette(format.paletteSize);

  std::vector<std::vector<uint32_t>> rows(kHeight);
  std::vector<Rgb> expected;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t v = format.stored(x, y);
      rows[static_cast<size_t>(layout.topDown ? kHeight - 1 - y : y)].push_back(v);
      expected.push_back(format.colour(v, shape.palette));
    }
  }
  shape.pixels = PackRows(format.bitsPerPixel, rows);

  const BmpResult result = Decode(BuildBmp(shape));
  ASSERT_NE(result.image, nullptr) << "failed with " << ErrorName(result.error);
  EXPECT_EQ(result.error, BmpError::None);
  EXPECT_TRUE(SamePixels(*result.image, kWidth, kHeight, expected));
}

std::string CaseName(const ::testing::TestParamInfo<FormatCase>& info) {
  const Layout l = std::get<1>(info.param);
  return std::string(Formats()[std::get<0>(info.param)].name) + "_h" + std::to_string(l.headerSize) +
         (l.fileHeader ? "_file" : "_bare") + (l.topDown ? "_topdown" : "_bottomup");
}

// A core header has neither a sign nor a compression field, so it pairs
// only with bottom-up, uncompressed formats.
std::vector<FormatCase> AllCases() {
  const Layout layouts[] = {{40, true, false}, {40, false, false}, {40, true, true},
                            {40, false, true}, {12, true, false},  {12, false, false}};
  std::vector<FormatCase> cases;
  for (size_t f = 0; f < Formats().size(); ++f) {
    for (const Layout& layout : layouts) {
      if (layout.headerSize == 12 && Formats()[f].compression != kBiRgb) continue;
      cases.emplace_back(f, layout);
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(bmp, AcceptedFormat, ::testing::ValuesIn(AllCases()), CaseName);

// ---- Single cases -----------------------------------------------------------

BmpShape Rgb24Spec(int width, int height, const std::vector<std::vector<uint32_t>>& rows) {
  BmpShape shape;
  shape.width = width;
  shape.height = height;
  shape.pixels = PackRows(24, rows);
  return shape;
}

TEST(bmpLayout, FourByTwoGivesTwentyFourBytesBottomLeftFirst) {
  // File rows are bottom row first: the first stored pixel is the bottom-left one.
  const auto file =
      BuildBmp(Rgb24Spec(4, 2, {{0xFF0000, 0x00FF00, 0x0000FF, 0x102030}, {0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0}}));
  const BmpResult result = Decode(file);
  ASSERT_NE(result.image, nullptr) << ErrorName(result.error);
  EXPECT_EQ(result.image->width, 4);
  EXPECT_EQ(result.image->height, 2);
  const uint8_t* p = result.image->pixels.get();
  EXPECT_EQ(p[0], 0xFF);
  EXPECT_EQ(p[1], 0x00);
  EXPECT_EQ(p[2], 0x00);
  EXPECT_EQ((Rgb{p[21], p[22], p[23]}), (Rgb{0xD0, 0xE0, 0xF0})) << "last pixel: top-right";
}

TEST(bmpLayout, WidthThreeRowsCarryNoPadding) {
  const auto file = BuildBmp(Rgb24Spec(3, 2, {{0x010203, 0x040506, 0x070809}, {0x0A0B0C, 0x0D0E0F, 0x101112}}));
  const BmpResult result = Decode(file);
  ASSERT_NE(result.image, nullptr) << ErrorName(result.error);
  // The second row begins right after 9 bytes, not after the file's 12.
  EXPECT_TRUE(
      SamePixels(*result.image, 3, 2, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}, {16, 17, 18}}));
}

// An 8-bit bare DIB whose colours-used field is 16: the table has 16 entries
// and the pixels start 40 + 64 bytes in.
TEST(bmpLayout, ColoursUsedSixteenPlacesBareDibPixelsAt104) {
  BmpShape shape;
  shape.fileHeader = false;
  shape.width = 4;
  shape.bitsPerPixel = 8;
  shape.colorsUsed = 16;
  shape.palette = TestPalette(16);
  shape.pixels = {15, 0, 7, 3};
  const auto file = BuildBmp(shape);
  ASSERT_EQ(PixelStart(shape), 104u);
  const BmpResult result = Decode(file);
  ASSERT_NE(result.image, nullptr) << ErrorName(result.error);
  EXPECT_TRUE(
      SamePixels(*result.image, 4, 1, {shape.palette[15], shape.palette[0], shape.palette[7], shape.palette[3]}));
}

TEST(bmpLayout, OnlyLowSixteenBitsOfColoursUsedCount) {
  BmpShape shape;
  shape.fileHeader = false;
  shape.width = 2;
  shape.bitsPerPixel = 8;
  shape.colorsUsed = 0x00030004;  // 4 entries
  shape.palette = TestPalette(4);
  shape.pixels = {3, 1, 0, 0};
  const BmpResult result = Decode(BuildBmp(shape));
  ASSERT_NE(result.image, nullptr) << ErrorName(result.error);
  EXPECT_TRUE(SamePixels(*result.image, 2, 1, {shape.palette[3], shape.palette[1]}));
}

TEST(bmpLayout, TrueColourFileMaySkipOverAPalette) {
  BmpShape shape = Rgb24Spec(2, 1, {{0x112233, 0x445566}});
  shape.fileHeader = false;
  shape.colorsUsed = 3;
  shape.palette = TestPalette(3);
  const BmpResult result = Decode(BuildBmp(shape));
  ASSERT_NE(result.image, nullptr) << ErrorName(result.error);
  EXPECT_TRUE(SamePixels(*result.image, 2, 1, {{0x11, 0x22, 0x33}, {0x44, 0x55, 0x66}}));
}

TEST(bmpLayout, FileHeaderOffsetRulesOverGapBytes) {
  BmpShape shape = Rgb24Spec(1, 1, {{0xABCDEF}});
  shape.gap = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  const BmpResult result = Decode(BuildBmp(shape));
  ASSERT_NE(result.image, nullptr) << ErrorName(result.error);
  EXPECT_TRUE(SamePixels(*result.image, 1, 1, {{0xAB, 0xCD, 0xEF}}));
}

TEST(bmpLayout, LastRowMayLackItsPadding) {
  BmpShape shape = Rgb24Spec(1, 2, {{0x010203}, {0x040506}});
  shape.pixels.pop_back();  // the pad byte of the top row
  const BmpResult result = Decode(BuildBmp(shape));
  ASSERT_NE(result.image, nullptr) << ErrorName(result.error);
  EXPECT_TRUE(SamePixels(*result.image, 1, 2, {{1, 2, 3}, {4, 5, 6}}));
}

TEST(bmpLayout, ImageSizeFieldIsNotTrusted) {
  for (const uint32_t imageSize : {1u, 0xFFFFFFF0u}) {
    BmpShape shape = Rgb24Spec(2, 2, {{0x010203, 0x040506}, {0x070809, 0x0A0B0C}});
    shape.imageSize = imageSize;
    const BmpResult result = Decode(BuildBmp(shape));
    ASSERT_NE(result.image, nullptr) << "image size " << imageSize << ": " << ErrorName(result.error);
    EXPECT_TRUE(SamePixels(*result.image, 2, 2, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}));
  }
}

TEST(bmpPalette, IndicesBeyondTheTableAreBlack) {
  BmpShape shape;
  shape.fileHeader = false;
  shape.width = 3;
  shape.bitsPerPixel = 8;
  shape.colorsUsed = 2;
  shape.palette = {{10, 20, 30}, {40, 50, 60}};
  shape.pixels = {1, 2, 255, 0};
  const BmpResult result = Decode(BuildBmp(shape));
  ASSERT_NE(result.image, nullptr) << ErrorName(result.error);
  EXPECT_TRUE(SamePixels(*result.image, 3, 1, {{40, 50, 60}, {0, 0, 0}, {0, 0, 0}}));
}

TEST(bmpPalette, OneBitWithASingleEntryTable) {
  BmpShape shape;
  shape.width = 2;
  shape.bitsPerPixel = 1;
  shape.colorsUsed = 1;
  shape.palette = {{200, 100, 50}};
  shape.pixels = PackRows(1, {{0, 1}});
  const BmpResult result = Decode(BuildBmp(shape));
  ASSERT_NE(result.image, nullptr) << ErrorName(result.error);
  EXPECT_TRUE(SamePixels(*result.image, 2, 1, {{200, 100, 50}, {0, 0, 0}}));
}

// Narrow channels are scaled, so that a full channel is 255.
struct ScaleCase {
  uint16_t bitsPerPixel;
  uint32_t compression;
  std::vector<uint32_t> masks;
  uint32_t pixel;
  Rgb expected;
};

class ChannelScaling : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ChannelScaling, RoundsToFullRange) {
  const ScaleCase& c = GetParam();
  BmpShape shape;
  shape.bitsPerPixel = c.bitsPerPixel;
  shape.compression = c.compression;
  shape.masks = c.masks;
  shape.pixels = PackRows(c.bitsPerPixel, {{c.pixel}});
  const BmpResult result = Decode(BuildBmp(shape));
  ASSERT_NE(result.image, nullptr) << ErrorName(result.error);
  EXPECT_EQ(PixelAt(*result.image, 0, 0), c.expected) << "pixel 0x" << std::hex << c.pixel;
}

INSTANTIATE_TEST_SUITE_P(
    bmp, ChannelScaling,
    ::testing::Values(ScaleCase{16, kBiRgb, {}, 0x7FFF, {255, 255, 255}},
                      ScaleCase{16, kBiRgb, {}, 0xFFFF, {255, 255, 255}},  // top bit unused
                      ScaleCase{16, kBiRgb, {}, 0x0000, {0, 0, 0}},
                      ScaleCase{16, kBiRgb, {}, 1u << 10 | 15u << 5 | 16u, {8, 123, 132}},
                      ScaleCase{16, kBiRgb, {}, 30u << 10, {247, 0, 0}},
                      ScaleCase{16, kBiBitFields, {0xF800, 0x07E0, 0x001F}, 0xFFFF, {255, 255, 255}},
                      ScaleCase{16, kBiBitFields, {0xF800, 0x07E0, 0x001F}, 32u << 5, {0, 130, 0}},
                      ScaleCase{16, kBiBitFields, {0x0003, 0x001C, 0x0020}, 0x003F, {255, 255, 255}},
                      ScaleCase{16, kBiBitFields, {0x0003, 0x001C, 0x0020}, 0x0001 | 3u << 2, {85, 109, 0}},
                      ScaleCase{32, kBiRgb, {}, 0xFF123456, {0x12, 0x34, 0x56}},
                      ScaleCase{32, kBiBitFields, {0x3FF00000, 0x000FFC00, 0x000003FF}, 0x3FFFFFFF, {255, 255, 255}},
                      ScaleCase{32, kBiBitFields, {0x3FF00000, 0x000FFC00, 0x000003FF}, 512u << 20, {128, 0, 0}},
                      ScaleCase{32, kBiBitFields, {0x80000000, 0x40000000, 0x00000001}, 0x80000001, {255, 0, 255}}));

// With bit fields the masks sit between the header and the pixels, also in a
// bare DIB, and a colour table (if any) follows them.
TEST(bmpBitFields, BareDibWithMasksAndTable) {
  BmpShape shape;
  shape.fileHeader = false;
  shape.width = 2;
  shape.bitsPerPixel = 16;
  shape.compression = kBiBitFields;
  shape.masks = {0xF800, 0x07E0, 0x001F};
  shape.colorsUsed = 4;
  shape.palette = TestPalette(4);
  shape.pixels = PackRows(16, {{0xF800, 0x001F}});
  ASSERT_EQ(PixelStart(shape), 40u + 12u + 16u);
  const BmpResult result = Decode(BuildBmp(shape));
  ASSERT_NE(result.image, nullptr) << ErrorName(result.error);
  EXPECT_TRUE(SamePixels(*result.image, 2, 1, {{255, 0, 0}, {0, 0, 255}}));
}

struct MaskCase {
  const char* name;
  uint16_t bitsPerPixel;
  std::vector<uint32_t> masks;
};

class RejectedMasks : public ::testing::TestWithParam<MaskCase> {};

TEST_P(RejectedMasks, AreAConversionError) {
  BmpShape shape;
  shape.width = 2;
  shape.bitsPerPixel = GetParam().bitsPerPixel;
  shape.compression = kBiBitFields;
  shape.masks = GetParam().masks;
  if (shape.bitsPerPixel <= 8) {  // so that the file has its whole colour table
    shape.colorsUsed = 1;
    shape.palette = TestPalette(1);
  }
  shape.pixels = std::vector<uint8_t>(8, 0x55);
  const BmpResult result = Decode(BuildBmp(shape));
  EXPECT_EQ(result.image, nullptr);
  EXPECT_EQ(result.error, BmpError::ConversionError) << "got " << ErrorName(result.error);
}

INSTANTIATE_TEST_SUITE_P(bmp, RejectedMasks,
                         ::testing::Values(MaskCase{"zero_red", 16, {0, 0x07E0, 0x001F}},
                                           MaskCase{"zero_blue", 32, {0xFF0000, 0xFF00, 0}},
                                           MaskCase{"overlapping", 16, {0xF800, 0x0FE0, 0x001F}},
                                           MaskCase{"same_mask_twice", 32, {0xFF, 0xFF, 0xFF00}},
                                           MaskCase{"non_contiguous", 16, {0xF00F, 0x0F00, 0x00F0}},
                                           MaskCase{"beyond_16_bits", 16, {0x1F0000, 0x07E0, 0x001F}},
                                           MaskCase{"bit_fields_with_24_bits", 24, {0xFF0000, 0xFF00, 0xFF}},
                                           MaskCase{"bit_fields_with_8_bits", 8, {0xE0, 0x1C, 0x03}}),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace kovrin::test::bmp
