// RLE8 and RLE4: runs, absolute runs with their padding, end of line, delta
// and end of bitmap; pixels the stream skips stay black, and nothing a broken
// stream says can write outside the picture.
#include "tests/bmp/bmp_test_util.h"

using kovrin::framework::BmpError;
using kovrin::framework::BmpResult;

namespace kovrin::test::bmp {
namespace {

const Rgb kBlack{0, 0, 0};

BmpShape RleShape(uint32_t compression, int width, int height, std::vector<uint8_t> stream) {
  BmpShape shape;
  shape.width = width;
  shape.height = height;
  shape.bitsPerPixel = compression == kBiRle4 ? 4 : 8;
  shape.compression = compression;
  shape.palette = TestPalette(compression == kBiRle4 ? 16 : 8);
  shape.colorsUsed = static_cast<uint32_t>(shape.palette.size());
  shape.pixels = std::move(stream);
  return shape;
}

// Expected picture from palette indices, bottom row first; -1 is black.
std::vector<Rgb> FromIndices(const std::vector<Rgb>& palette, const std::vector<int>& indices) {
  std::vector<Rgb> out;
  for (const int i : indices) out.push_back(i < 0 ? kBlack : palette[static_cast<size_t>(i)]);
  return out;
}

struct RleCase {
  const char* name;
  uint32_t compression;
  int width;
  int height;
  std::vector<uint8_t> stream;
  std::vector<int> expected;  // bottom row first, -1 = black
};

class RleStream : public ::testing::TestWithParam<RleCase> {};

TEST_P(RleStream, DecodesWhatLiesInsideThePicture) {
  const RleCase& c = GetParam();
  for (const bool fileHeader : {true, false}) {
    BmpShape shape = RleShape(c.compression, c.width, c.height, c.stream);
    shape.fileHeader = fileHeader;
    const BmpResult result = Decode(BuildBmp(shape));
    ASSERT_NE(result.image, nullptr) << (fileHeader ? "file: " : "bare DIB: ") << ErrorName(result.error);
    EXPECT_TRUE(SamePixels(*result.image, c.width, c.height, FromIndices(shape.palette, c.expected)))
        << (fileHeader ? "with file header" : "bare DIB");
  }
}

constexpr uint8_t kPad = 0xEE;  // a pad byte that would break the stream if read as data

INSTANTIATE_TEST_SUITE_P(
    bmp, RleStream,
    ::testing::Values(
        RleCase{"rle8_every_escape",
                kBiRle8,
                6,
                4,
                {3, 1,                 // run of three 1s
                 0, 3, 2, 3, 4, kPad,  // absolute 2 3 4, padded to 16 bits
                 0, 0,                 // end of line
                 2, 5,                 // row 1: two 5s
                 0, 2, 2, 1,           // delta: 2 right, 1 up
                 2, 6,                 // row 2 from x = 4
                 0, 0,                 // end of line
                 0, 4, 1, 2, 3, 4,     // absolute, even: no padding
                 0, 1,                 // end of bitmap
                 2, 7},                // after the end: never drawn
                {1, 1, 1, 2, 3, 4, 5, 5, -1, -1, -1, -1, -1, -1, -1, -1, 6, 6, 1, 2, 3, 4, -1, -1}},
        RleCase{"rle4_every_escape",
                kBiRle4,
                8,
                3,
                {5, 0x12,                          // 1 2 1 2 1
                 0, 3,    0x34, 0x50,              // absolute 3 4 5: two bytes, no padding
                 0, 0,                             // end of line
                 0, 5,    0x67, 0x89, 0xA0, kPad,  // absolute 6 7 8 9 10: three bytes, padded
                 0, 2,    1,    1,                 // delta: 1 right, 1 up
                 2, 0xBC,                          // 11 12 at x = 6
                 0, 1,    8,    0x11},
                {1, 2, 1, 2, 1, 3, 4, 5, 6, 7, 8, 9, 10, -1, -1, -1, -1, -1, -1, -1, -1, -1, 11, 12}},
        RleCase{"run_past_row_end_does_not_wrap", kBiRle8, 4, 2, {6, 1, 0, 0, 1, 2, 0, 1}, {1, 1, 1, 1, 2, -1, -1, -1}},
        RleCase{"rle4_run_past_odd_width", kBiRle4, 3, 1, {7, 0x12, 0, 1}, {1, 2, 1}},
        RleCase{
            "absolute_run_wider_than_row", kBiRle8, 2, 2, {0, 5, 1, 2, 3, 4, 5, kPad, 0, 0, 2, 6, 0, 1}, {1, 2, 6, 6}},
        RleCase{"delta_beyond_right_edge_and_top",
                kBiRle8,
                4,
                2,
                {1, 1, 0, 2, 10, 0, 2, 3, 0, 2, 0, 200, 4, 4, 0, 1},
                {1, -1, -1, -1, -1, -1, -1, -1}},
        RleCase{"more_lines_than_rows", kBiRle8, 2, 2, {0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 0, 1}, {-1, -1, -1, -1}},
        RleCase{"stream_without_end_of_bitmap", kBiRle8, 4, 2, {4, 1}, {1, 1, 1, 1, -1, -1, -1, -1}},
        RleCase{"stream_cut_inside_absolute_run", kBiRle8, 4, 2, {2, 3, 0, 4, 5, 6}, {3, 3, 5, 6, -1, -1, -1, -1}},
        RleCase{"stream_cut_inside_delta", kBiRle8, 2, 1, {1, 2, 0, 2, 1}, {2, -1}},
        RleCase{"stream_cut_after_count_byte", kBiRle4, 2, 1, {1, 0x30, 2}, {3, -1}},
        RleCase{"index_beyond_table_is_black", kBiRle8, 3, 1, {1, 7, 1, 8, 1, 255, 0, 1}, {7, -1, -1}}),
    [](const auto& p) { return std::string(p.param.name); });

struct RejectedRle {
  const char* name;
  uint32_t compression;
  uint16_t bitsPerPixel;
  int height;
};

class RleRejected : public ::testing::TestWithParam<RejectedRle> {};

TEST_P(RleRejected, IsAConversionError) {
  const RejectedRle& c = GetParam();
  BmpShape shape = RleShape(c.compression, 2, c.height, {2, 1, 0, 1});
  shape.bitsPerPixel = c.bitsPerPixel;
  const BmpResult result = Decode(BuildBmp(shape));
  EXPECT_EQ(result.image, nullptr);
  EXPECT_EQ(result.error, BmpError::ConversionError) << "got " << ErrorName(result.error);
}

INSTANTIATE_TEST_SUITE_P(bmp, RleRejected,
                         ::testing::Values(RejectedRle{"rle8_top_down", kBiRle8, 8, -2},
                                           RejectedRle{"rle4_top_down", kBiRle4, 4, -1},
                                           RejectedRle{"rle8_with_4_bits", kBiRle8, 4, 1},
                                           RejectedRle{"rle4_with_8_bits", kBiRle4, 8, 1},
                                           RejectedRle{"rle8_with_24_bits", kBiRle8, 24, 1}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(bmpRle, NoStreamAtAllConvertsNothing) {
  BmpShape shape = RleShape(kBiRle8, 2, 2, {});
  const BmpResult result = Decode(BuildBmp(shape));
  EXPECT_EQ(result.image, nullptr);
  EXPECT_EQ(result.error, BmpError::ConversionError) << "got " << ErrorName(result.error);
}

}  // namespace
}  // namespace kovrin::test::bmp
