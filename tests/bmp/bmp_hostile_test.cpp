// Files that lie: cut short at every length, impossible or enormous headers.
// None may read or write out of bounds (the sanitizer build checks that), and
// each fails with the message category the user should see.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <functional>

#include "tests/bmp/bmp_samples.h"
#include "tests/bmp/bmp_test_util.h"

using kovrin::framework::BmpError;
using kovrin::framework::BmpResult;
using kovrin::framework::DecodeBmp;

namespace kovrin::test::bmp {
namespace {

// Where the colour table ends: anything shorter is not a DIB.
size_t HeadersEnd(const BmpShape& shape) { return PixelStart(shape) - shape.gap.size(); }

// The shortest file whose pixel data is complete (the top row's padding may be
// missing).
size_t PixelsEnd(const BmpShape& shape) {
  const size_t bits = static_cast<size_t>(shape.width) * shape.bitsPerPixel;
  const size_t stride = (bits + 31) / 32 * 4;
  const size_t rows = static_cast<size_t>(shape.height < 0 ? -shape.height : shape.height);
  return PixelStart(shape) + stride * (rows - 1) + (bits + 7) / 8;
}

BmpError ExpectedAfterCut(const BmpShape& shape, size_t length) {
  if (length < HeadersEnd(shape)) return BmpError::UnknownFormat;
  if (shape.compression == kBiRle8 || shape.compression == kBiRle4) {
    // RLE: a stream cut short leaves the rest black, no stream is an error.
    return length > PixelStart(shape) ? BmpError::None : BmpError::ConversionError;
  }
  return length >= PixelsEnd(shape) ? BmpError::None : BmpError::ConversionError;
}

TEST(bmpTruncatedFile, EveryLengthGivesTheRightCategory) {
  for (const Sample& sample : Samples()) {
    const std::vector<uint8_t> file = BuildBmp(sample.shape);
    const BmpResult whole = Decode(file);
    ASSERT_NE(whole.image, nullptr) << sample.name << " must decode whole: " << ErrorName(whole.error);
    for (size_t length = 0; length < file.size(); ++length) {
      // A buffer of exactly this size, so that the sanitizer sees any overread.
      const std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
      const BmpResult result = Decode(cut);
      const BmpError expected = ExpectedAfterCut(sample.shape, length);
      EXPECT_EQ(result.error, expected) << sample.name << " cut to " << length << " of " << file.size()
                                        << " bytes: expected " << ErrorName(expected) << ", got "
                                        << ErrorName(result.error);
      EXPECT_EQ(result.image != nullptr, expected == BmpError::None) << sample.name << " cut to " << length;
    }
  }
}

TEST(bmpTruncatedFile, CutRleStreamKeepsWhatItDecoded) {
  const BmpShape shape = SampleNamed("rle8_file").shape;
  std::vector<uint8_t> file = BuildBmp(shape);
  file.resize(PixelStart(shape) + 2);  // only the first run: two of index 1
  const BmpResult result = Decode(file);
  ASSERT_NE(result.image, nullptr) << ErrorName(result.error);
  const Rgb p1 = shape.palette[1];
  const Rgb black{0, 0, 0};
  EXPECT_TRUE(SamePixels(*result.image, 4, 2, {p1, p1, black, black, black, black, black, black}));
}

TEST(bmpTruncatedFile, EmptyAndTinyInputs) {
  for (const std::vector<uint8_t>& bytes : {std::vector<uint8_t>{},
                                            {'B'},
                                            {'B', 'M'},
                                            {40, 0, 0},
                                            {12, 0, 0, 0},
                                            {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 18, 0, 0, 0}}) {
    const BmpResult result = Decode(bytes);
    EXPECT_EQ(result.error, BmpError::UnknownFormat) << bytes.size() << "-byte input: got " << ErrorName(result.error);
  }
}

// Peak memory of decoding the file, in KiB, measured in a child process so
// that nothing else of the test run counts; -1 when the child failed, with
// the reason in why.
long DecodePeakKb(const std::vector<uint8_t>& file, BmpError expected, std::string& why) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    struct rusage before {};
    ::getrusage(RUSAGE_SELF, &before);
    const BmpResult result = Decode(file);
    struct rusage after {};
    ::getrusage(RUSAGE_SELF, &after);
    if (result.error != expected) ::_exit(255);
    // The growth in MiB, as an exit code.
    ::_exit(static_cast<int>(std::min<long>((after.ru_maxrss - before.ru_maxrss) / 1024, 254)));
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
    why = "the decoding child did not end normally";
    return -1;
  }
  if (WEXITSTATUS(status) == 255) {
    why = std::string("expected ") + ErrorName(expected);
    return -1;
  }
  return long{WEXITSTATUS(status)} * 1024;
}

// The header claims 9000 x 9000 (243 MB decoded); the file holds one row. Its
// length tells that before anything of that size is allocated and cleared.
TEST(bmpTruncatedFile, CutShortHugePictureFailsBeforeItsAllocation) {
  BmpShape shape;
  shape.width = 9000;
  shape.height = 9000;
  shape.pixels = std::vector<uint8_t>(9000 * 3, 0x40);
  std::string why;
  const long grownKb = DecodePeakKb(BuildBmp(shape), BmpError::ConversionError, why);
  ASSERT_GE(grownKb, 0) << why;
  EXPECT_LT(grownKb, 64 * 1024) << "decoding grew by " << grownKb / 1024 << " MB";
}

// ---- Hostile headers --------------------------------------------------------

struct HostileCase {
  const char* name;
  std::function<void(BmpShape&)> change;
  BmpError expected;
};

class HostileHeader : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileHeader, FailsWithItsCategory) {
  BmpShape shape;
  shape.width = 2;
  shape.height = 2;
  shape.pixels = PackRows(24, {{1, 2}, {3, 4}});
  GetParam().change(shape);
  const BmpResult result = Decode(BuildBmp(shape));
  EXPECT_EQ(result.error, GetParam().expected)
      << "expected " << ErrorName(GetParam().expected) << ", got " << ErrorName(result.error);
  EXPECT_EQ(result.image != nullptr, GetParam().expected == BmpError::None);
}

using S = BmpShape;
INSTANTIATE_TEST_SUITE_P(
    bmp, HostileHeader,
    ::testing::Values(
        HostileCase{"width_zero", [](S& s) { s.width = 0; }, BmpError::ConversionError},
        HostileCase{"height_zero", [](S& s) { s.height = 0; }, BmpError::ConversionError},
        HostileCase{"core_width_zero",
                    [](S& s) {
                      s.headerSize = 12;
                      s.width = 0;
                    },
                    BmpError::ConversionError},
        HostileCase{"negative_width", [](S& s) { s.width = -2; }, BmpError::ConversionError},
        HostileCase{"most_negative_width", [](S& s) { s.width = INT_MIN; }, BmpError::ConversionError},
        HostileCase{"huge_width_and_height",
                    [](S& s) {
                      s.width = INT_MAX;
                      s.height = INT_MAX;
                    },
                    BmpError::OutOfMemory},
        HostileCase{"huge_top_down",
                    [](S& s) {
                      s.width = INT_MAX;
                      s.height = INT_MIN;
                    },
                    BmpError::OutOfMemory},
        HostileCase{"most_negative_height", [](S& s) { s.height = INT_MIN; }, BmpError::OutOfMemory},
        HostileCase{"row_bytes_overflow_32_bits",
                    [](S& s) {
                      s.width = 0x40000001;
                      s.height = 1;
                      s.bitsPerPixel = 32;
                    },
                    BmpError::OutOfMemory},
        HostileCase{"huge_rle_from_few_bytes",
                    [](S& s) {
                      s.width = 30000;
                      s.height = 30000;
                      s.bitsPerPixel = 8;
                      s.compression = kBiRle8;
                      s.colorsUsed = 1;
                      s.palette = TestPalette(1);
                      s.pixels = {0, 1};
                    },
                    BmpError::OutOfMemory},
        HostileCase{"core_header_largest_size",
                    [](S& s) {
                      s.headerSize = 12;
                      s.width = 0xFFFF;
                      s.height = 0xFFFF;
                    },
                    BmpError::OutOfMemory},
        HostileCase{"data_shorter_than_size", [](S& s) { s.height = 3; }, BmpError::ConversionError},
        HostileCase{"bits_0", [](S& s) { s.bitsPerPixel = 0; }, BmpError::ConversionError},
        HostileCase{"bits_2",
                    [](S& s) {
                      s.bitsPerPixel = 2;
                      s.colorsUsed = 4;
                      s.palette = TestPalette(4);
                    },
                    BmpError::ConversionError},
        HostileCase{"bits_64", [](S& s) { s.bitsPerPixel = 64; }, BmpError::ConversionError},
        HostileCase{"bits_65535", [](S& s) { s.bitsPerPixel = 0xFFFF; }, BmpError::ConversionError},
        HostileCase{"planes_0", [](S& s) { s.planes = 0; }, BmpError::ConversionError},
        HostileCase{"planes_2", [](S& s) { s.planes = 2; }, BmpError::ConversionError},
        HostileCase{"jpeg_inside", [](S& s) { s.compression = 4; }, BmpError::ConversionError},
        HostileCase{"png_inside", [](S& s) { s.compression = 5; }, BmpError::ConversionError},
        HostileCase{"alpha_bit_fields",
                    [](S& s) {
                      s.compression = 6;
                      s.bitsPerPixel = 32;
                      s.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
                    },
                    BmpError::ConversionError},
        HostileCase{"compression_unknown", [](S& s) { s.compression = 0xFFFFFFFF; }, BmpError::ConversionError},
        HostileCase{"pixel_offset_past_end", [](S& s) { s.pixelOffset = 70; }, BmpError::ConversionError},
        HostileCase{"pixel_offset_max", [](S& s) { s.pixelOffset = 0xFFFFFFFF; }, BmpError::ConversionError},
        HostileCase{"pixel_offset_into_headers", [](S& s) { s.pixelOffset = 0; }, BmpError::None},
        HostileCase{"colours_used_beyond_file", [](S& s) { s.colorsUsed = 0xFFFF; }, BmpError::UnknownFormat},
        HostileCase{"masks_beyond_file",
                    [](S& s) {
                      s.compression = kBiBitFields;
                      s.bitsPerPixel = 16;
                      s.pixels.clear();
                    },
                    BmpError::UnknownFormat},
        HostileCase{"header_0", [](S& s) { s.headerSize = 0; }, BmpError::UnknownFormat},
        HostileCase{"header_16", [](S& s) { s.headerSize = 16; }, BmpError::UnknownFormat},
        HostileCase{"header_52", [](S& s) { s.headerSize = 52; }, BmpError::UnknownFormat},
        HostileCase{"header_64", [](S& s) { s.headerSize = 64; }, BmpError::UnknownFormat},
        HostileCase{"header_108", [](S& s) { s.headerSize = 108; }, BmpError::UnknownFormat},
        HostileCase{"header_124", [](S& s) { s.headerSize = 124; }, BmpError::UnknownFormat},
        HostileCase{"header_max", [](S& s) { s.headerSize = 0xFFFFFFFF; }, BmpError::UnknownFormat}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(bmpAllocationLimit, PicturesAboveTheLimitAreOutOfMemory) {
  BmpShape shape;
  shape.width = 10;
  shape.height = 10;
  shape.pixels = std::vector<uint8_t>(10 * 32, 0x40);
  const std::vector<uint8_t> file = BuildBmp(shape);
  const std::span<const uint8_t> bytes(file.data(), file.size());
  EXPECT_EQ(DecodeBmp(bytes, 299).error, BmpError::OutOfMemory) << "10 x 10 x 3 = 300 bytes";
  EXPECT_EQ(DecodeBmp(bytes, 300).error, BmpError::None);
}

TEST(bmpAllocationLimit, ALargerLimitThanTheBuiltInOneIsNotTaken) {
  BmpShape shape;
  shape.width = 20000;
  shape.height = 20000;  // 1.2 GB
  shape.bitsPerPixel = 8;
  shape.compression = kBiRle8;
  shape.colorsUsed = 1;
  shape.palette = TestPalette(1);
  shape.pixels = {0, 1};
  const std::vector<uint8_t> file = BuildBmp(shape);
  const BmpResult result = DecodeBmp(std::span<const uint8_t>(file.data(), file.size()), UINT64_MAX);
  EXPECT_EQ(result.error, BmpError::OutOfMemory) << "got " << ErrorName(result.error);
}

}  // namespace
}  // namespace kovrin::test::bmp
