// The BMP writer: header fields as the programs' decoder reads them, and
// pixels that come back unchanged from every layout.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tools/assets/bmp_writer.h"
#include "tools/assets/tests/reference_bmp.h"

using namespace kovrin::assets;

namespace {

Picture Gradient(int w, int h) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      p.At(x, y) = {static_cast<uint8_t>(x * 37 + 1), static_cast<uint8_t>(y * 53 + 2), static_cast<uint8_t>(x ^ y)};
    }
  }
  return p;
}

IndexedPicture Ramp(int w, int h, int levels) {
  IndexedPicture p(w, h);
  for (int i = 0; i < levels; ++i) {
    p.palette.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7)});
  }
  return p;
}

struct TrueColorCase {
  const char* name;
  TrueColorLayout layout;
  int width, height;
  uint32_t headerSize;
  int bitsPerPixel;
  uint32_t stride;
};

class TrueColorLayouts : public testing::TestWithParam<TrueColorCase> {};

TEST_P(TrueColorLayouts, HeadersDescribeTheFileAndPixelsComeBack) {
  const TrueColorCase& c = GetParam();
  const Picture picture = Gradient(c.width, c.height);
  const std::vector<uint8_t> file = EncodeBmp(picture, c.layout);
  std::string error;
  const ReferenceBmp bmp = ReadReferenceBmp(file, error);
  ASSERT_TRUE(error.empty()) << c.name << ": " << error;
  EXPECT_EQ(bmp.fileSizeField, file.size()) << c.name;
  EXPECT_EQ(bmp.headerSize, c.headerSize) << c.name;
  EXPECT_EQ(bmp.pixelOffset, 14 + c.headerSize) << c.name << ": no colour table expected";
  EXPECT_EQ(bmp.bitsPerPixel, c.bitsPerPixel) << c.name;
  EXPECT_EQ(file.size(), 14 + c.headerSize + c.stride * static_cast<uint32_t>(c.height))
      << c.name << ": rows of " << c.stride << " bytes expected";
  if (c.headerSize == 40) {
    EXPECT_EQ(bmp.imageSize, c.stride * static_cast<uint32_t>(c.height)) << c.name;
    EXPECT_EQ(bmp.compression, 0u) << c.name;
  }
  EXPECT_EQ(bmp.width, c.width);
  EXPECT_EQ(bmp.height, c.height) << c.name << ": bottom-up files have a positive height";
  EXPECT_TRUE(bmp.pixels == picture.pixels) << c.name << ": decoded pixels differ from the painted ones";
  // The first stored pixel is the bottom-left one, blue first.
  const Rgb bottomLeft = picture.At(0, c.height - 1);
  EXPECT_EQ(file[bmp.pixelOffset], bottomLeft.b) << c.name;
  EXPECT_EQ(file[bmp.pixelOffset + 2], bottomLeft.r) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Writer, TrueColorLayouts,
                         testing::Values(TrueColorCase{"Info24 4x2", TrueColorLayout::Info24, 4, 2, 40, 24, 12},
                                         TrueColorCase{"Info24 3x3 padded", TrueColorLayout::Info24, 3, 3, 40, 24, 12},
                                         TrueColorCase{"Info32 5x2", TrueColorLayout::Info32, 5, 2, 40, 32, 20},
                                         TrueColorCase{"Core24 3x2 padded", TrueColorLayout::Core24, 3, 2, 12, 24, 12},
                                         TrueColorCase{"Core24 8x1", TrueColorLayout::Core24, 8, 1, 12, 24, 24}));

struct IndexedCase {
  const char* name;
  IndexedLayout layout;
  int width, height, levels;
  uint32_t headerSize, tableEntries, colorsUsed, compression;
  int bitsPerPixel;
};

class IndexedLayouts : public testing::TestWithParam<IndexedCase> {};

TEST_P(IndexedLayouts, HeadersTableAndIndicesComeBack) {
  const IndexedCase& c = GetParam();
  IndexedPicture picture = Ramp(c.width, c.height, c.levels);
  for (size_t i = 0; i < picture.indices.size(); ++i) {
    picture.indices[i] = static_cast<uint8_t>((i * 7 + i / 3) % static_cast<size_t>(c.levels));
  }
  const std::vector<uint8_t> file = EncodeBmp(picture, c.layout);
  std::string error;
  const ReferenceBmp bmp = ReadReferenceBmp(file, error);
  ASSERT_TRUE(error.empty()) << c.name << ": " << error;
  EXPECT_EQ(bmp.fileSizeField, file.size()) << c.name;
  EXPECT_EQ(bmp.headerSize, c.headerSize) << c.name;
  EXPECT_EQ(bmp.bitsPerPixel, c.bitsPerPixel) << c.name;
  EXPECT_EQ(bmp.colorsUsed, c.colorsUsed) << c.name;
  EXPECT_EQ(bmp.compression, c.compression) << c.name;
  ASSERT_EQ(bmp.table.size(), c.tableEntries) << c.name;
  EXPECT_EQ(bmp.pixelOffset, 14 + c.headerSize + c.tableEntries * (c.headerSize == 12 ? 3 : 4)) << c.name;
  if (c.headerSize == 40) {
    EXPECT_EQ(bmp.imageSize, file.size() - bmp.pixelOffset) << c.name << ": image size must count the pixel bytes";
  }
  for (int i = 0; i < c.levels; ++i) {
    EXPECT_EQ(bmp.table[static_cast<size_t>(i)], picture.palette[static_cast<size_t>(i)]) << c.name << " entry " << i;
  }
  EXPECT_TRUE(bmp.indices == picture.indices) << c.name << ": decoded indices differ";
}

INSTANTIATE_TEST_SUITE_P(
    Writer, IndexedLayouts,
    testing::Values(IndexedCase{"Info8 with 64 colours", IndexedLayout::Info8, 5, 3, 64, 40, 64, 64, 0, 8},
                    IndexedCase{"Info8 with 256 colours", IndexedLayout::Info8, 4, 4, 256, 40, 256, 0, 0, 8},
                    IndexedCase{"Info8Rle", IndexedLayout::Info8Rle, 7, 5, 256, 40, 256, 0, 1, 8},
                    IndexedCase{"Core4 full table", IndexedLayout::Core4, 5, 3, 16, 12, 16, 0, 0, 4},
                    IndexedCase{"Core4 short palette padded", IndexedLayout::Core4, 9, 2, 5, 12, 16, 0, 0, 4}));

TEST(Writer, RejectsIndicesBeyondThePalette) {
  IndexedPicture picture = Ramp(2, 2, 4);
  picture.indices[3] = 4;
  EXPECT_THROW(EncodeBmp(picture, IndexedLayout::Info8), std::invalid_argument);
}

TEST(Writer, RejectsPalettesTooLargeForFourBits) {
  const IndexedPicture picture = Ramp(2, 2, 17);
  EXPECT_THROW(EncodeBmp(picture, IndexedLayout::Core4), std::invalid_argument);
}

// ---- RLE8 -------------------------------------------------------------

struct RleCase {
  const char* name;
  int width;
  std::vector<std::vector<uint8_t>> rows;  // top row first
};

class Rle8Round : public testing::TestWithParam<RleCase> {};

TEST_P(Rle8Round, DecodesToTheSameIndices) {
  const RleCase& c = GetParam();
  IndexedPicture picture = Ramp(c.width, static_cast<int>(c.rows.size()), 256);
  for (size_t y = 0; y < c.rows.size(); ++y) {
    ASSERT_EQ(c.rows[y].size(), static_cast<size_t>(c.width)) << c.name << " row " << y;
    std::copy(c.rows[y].begin(), c.rows[y].end(), picture.indices.begin() + static_cast<long>(y) * c.width);
  }
  const std::vector<uint8_t> stream = EncodeRle8(picture);
  ASSERT_GE(stream.size(), 2u);
  EXPECT_EQ(stream[stream.size() - 2], 0) << c.name << ": stream must end with end of bitmap";
  EXPECT_EQ(stream[stream.size() - 1], 1) << c.name << ": stream must end with end of bitmap";
  EXPECT_EQ(stream.size() % 2, 0u) << c.name << ": RLE8 codes are 16-bit aligned";
  const std::vector<uint8_t> file = EncodeBmp(picture, IndexedLayout::Info8Rle);
  std::string error;
  const ReferenceBmp bmp = ReadReferenceBmp(file, error);
  ASSERT_TRUE(error.empty()) << c.name << ": " << error;
  EXPECT_TRUE(bmp.indices == picture.indices) << c.name << ": RLE8 round trip changed the picture";
  EXPECT_EQ(bmp.rleEndRow, bmp.height) << c.name << ": the stream must close every row before it ends";
}

std::vector<uint8_t> Repeat(uint8_t v, int n) { return std::vector<uint8_t>(static_cast<size_t>(n), v); }

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const auto& p : parts) {
    out.insert(out.end(), p.begin(), p.end());
  }
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Writer, Rle8Round,
    testing::Values(RleCase{"all black", 4, {Repeat(0, 4), Repeat(0, 4)}},
                    RleCase{"one lit pixel", 3, {{0, 0, 0}, {0, 9, 0}, {0, 0, 0}}}, RleCase{"run", 6, {Repeat(7, 6)}},
                    RleCase{"run longer than 255", 300, {Repeat(5, 300)}},
                    RleCase{"absolute span of odd length", 5, {{1, 2, 3, 4, 5}}},
                    RleCase{"absolute span longer than 255", 300, {[] {
                              std::vector<uint8_t> r;
                              for (int i = 0; i < 300; ++i) r.push_back(static_cast<uint8_t>(i % 2 + 1));
                              return r;
                            }()}},
                    RleCase{"short tail after a run", 5, {{4, 4, 4, 8, 9}}},
                    RleCase{"gap skipped by a delta", 16, {Join({{3, 1}, Repeat(0, 10), {2, 2, 6, 0}})}},
                    RleCase{"gap longer than 255", 600, {Join({{3}, Repeat(0, 597), {2, 2}})}},
                    RleCase{"short gap kept as a run", 10, {Join({{3}, Repeat(0, kRleDeltaMin - 1), {1, 2, 3, 4}})}},
                    RleCase{"blank rows at the bottom and the top",
                            4,
                            {Repeat(0, 4), {1, 0, 0, 2}, Repeat(0, 4), {0, 5, 5, 0}, Repeat(0, 4), Repeat(0, 4)}},
                    RleCase{"mixed", 9, {{0, 0, 1, 1, 1, 2, 3, 0, 0}, {9, 8, 7, 7, 7, 7, 0, 0, 1}, Repeat(255, 9)}}));

TEST(Writer, RleSkipsBlackInsteadOfWritingIt) {
  // Blank bottom rows, then a row with one lit pixel: a delta up, a delta
  // right, one run, end of line; the blank top row is an empty line.
  IndexedPicture picture = Ramp(32, 4, 256);
  picture.At(20, 1) = 200;
  const std::vector<uint8_t> expected = {0, 2, 0, 2, 0, 2, 20, 0, 1, 200, 0, 0, 0, 0, 0, 1};
  EXPECT_EQ(EncodeRle8(picture), expected);
}

}  // namespace
