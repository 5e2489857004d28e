// Every image of the public BMP conformance suite (good, questionable and bad
// files), where it sits beside the checkout: each decodes or fails as listed,
// and decoded pictures agree with ImageMagick's convert where it is installed.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "tests/bmp/bmp_test_util.h"
#include "tests/support/shared_data.h"

using kovrin::framework::BmpError;
using kovrin::framework::BmpResult;

namespace kovrin::test::bmp {
namespace {

namespace fs = std::filesystem;

const fs::path kSuite = kovrin::test::SharedPath("bmpsuite");

enum class Compare {
  Exact,         // every byte equals the reference
  Tolerance,     // within `tolerance` per channel; the reason is in the table
  WhereDecoded,  // equal wherever we decoded a colour; pixels the file skips
                 // are black here, but palette colour 0 or transparent there
  FullRange,     // the reference shifts narrow channels; ours reach 255 each
  None,          // no reference: it rejects the file or reads it otherwise
};

struct SuiteCase {
  const char* name;  // folder/file; also the test's name
  BmpError expected;
  Compare compare = Compare::None;
  int tolerance = 0;
};

constexpr BmpError kOk = BmpError::None;
constexpr BmpError kUnknown = BmpError::UnknownFormat;
constexpr BmpError kConversion = BmpError::ConversionError;

// One least-significant bit: we round v * 255 / max for a 5- or 6-bit
// channel, the reference widens it its own way; the two differ by at most 1.
constexpr int kRounding = 1;

const std::vector<SuiteCase>& Cases() {
  static const std::vector<SuiteCase> cases = {
      {"b/badbitcount.bmp", kConversion},
      {"b/badbitssize.bmp", kOk, Compare::Exact},  // the image-size field is never used
      {"b/baddens1.bmp", kOk, Compare::Exact},
      {"b/baddens2.bmp", kOk, Compare::Exact},
      {"b/badfilesize.bmp", kOk},  // the file-size field is never read
      {"b/badheadersize.bmp", kUnknown},
      {"b/badpalettesize.bmp", kUnknown},  // the table it claims is beyond the file
      {"b/badplanes.bmp", kConversion},
      // Broken RLE streams: what lies inside the picture is decoded.
      {"b/badrle.bmp", kOk, Compare::WhereDecoded},
      {"b/badrle4.bmp", kOk, Compare::WhereDecoded},
      {"b/badrle4bis.bmp", kOk, Compare::WhereDecoded},
      {"b/badrle4ter.bmp", kOk},  // the reference draws runs that leave the row elsewhere
      {"b/badrlebis.bmp", kOk, Compare::WhereDecoded},
      {"b/badrleter.bmp", kOk},
      {"b/badwidth.bmp", kConversion},
      {"b/pal8badindex.bmp", kOk, Compare::WhereDecoded},  // indices beyond the table are black
      {"b/reallybig.bmp", BmpError::OutOfMemory},
      {"b/rgb16-880.bmp", kConversion},  // blue mask 0
      {"b/rletopdown.bmp", kConversion},
      {"b/shortfile.bmp", kConversion},
      {"g/pal1.bmp", kOk, Compare::Exact},
      {"g/pal1bg.bmp", kOk, Compare::Exact},
      {"g/pal1wb.bmp", kOk, Compare::Exact},
      {"g/pal4.bmp", kOk, Compare::Exact},
      {"g/pal4gs.bmp", kOk, Compare::Exact},
      {"g/pal4rle.bmp", kOk, Compare::Exact},
      {"g/pal8-0.bmp", kOk, Compare::Exact},
      {"g/pal8.bmp", kOk, Compare::Exact},
      {"g/pal8gs.bmp", kOk, Compare::Exact},
      {"g/pal8nonsquare.bmp", kOk, Compare::Exact},
      {"g/pal8os2.bmp", kOk, Compare::Exact},
      {"g/pal8rle.bmp", kOk, Compare::Exact},
      {"g/pal8topdown.bmp", kOk, Compare::Exact},
      {"g/pal8v4.bmp", kUnknown},  // 108-byte header
      {"g/pal8v5.bmp", kUnknown},  // 124-byte header
      {"g/pal8w124.bmp", kOk, Compare::Exact},
      {"g/pal8w125.bmp", kOk, Compare::Exact},
      {"g/pal8w126.bmp", kOk, Compare::Exact},
      {"g/rgb16-565.bmp", kOk, Compare::Tolerance, kRounding},
      {"g/rgb16-565pal.bmp", kOk, Compare::Tolerance, kRounding},
      {"g/rgb16.bmp", kOk, Compare::Tolerance, kRounding},
      {"g/rgb16bfdef.bmp", kOk, Compare::Tolerance, kRounding},
      {"g/rgb24.bmp", kOk, Compare::Exact},
      {"g/rgb24pal.bmp", kOk, Compare::Exact},
      {"g/rgb32.bmp", kOk, Compare::Exact},
      {"g/rgb32bf.bmp", kOk, Compare::Exact},
      {"g/rgb32bfdef.bmp", kOk, Compare::Exact},
      {"q/pal1huffmsb.bmp", kUnknown},  // 64-byte OS/2 header
      {"q/pal1p1.bmp", kOk, Compare::Exact},
      {"q/pal2.bmp", kConversion},  // 2 bits per pixel
      {"q/pal2color.bmp", kConversion},
      {"q/pal4rlecut.bmp", kOk, Compare::WhereDecoded},
      {"q/pal4rletrns.bmp", kOk, Compare::WhereDecoded},
      {"q/pal8offs.bmp", kOk, Compare::Exact},
      {"q/pal8os2-hs.bmp", kOk, Compare::Exact},
      {"q/pal8os2-sz.bmp", kOk, Compare::Exact},
      {"q/pal8os2sp.bmp", kOk, Compare::Exact},
      {"q/pal8os2v2-16.bmp", kUnknown},
      {"q/pal8os2v2-40sz.bmp", kOk, Compare::Exact},
      {"q/pal8os2v2-sz.bmp", kUnknown},
      {"q/pal8os2v2.bmp", kUnknown},
      {"q/pal8oversizepal.bmp", kOk},  // the reference rejects 300 colours
      {"q/pal8rlecut.bmp", kOk, Compare::WhereDecoded},
      {"q/pal8rletrns.bmp", kOk, Compare::WhereDecoded},
      {"q/rgb16-231.bmp", kOk, Compare::FullRange},
      {"q/rgb16-3103.bmp", kOk, Compare::FullRange},
      {"q/rgb16faketrns.bmp", kOk, Compare::Tolerance, kRounding},
      {"q/rgb24jpeg.bmp", kUnknown},
      {"q/rgb24largepal.bmp", kOk, Compare::Exact},
      {"q/rgb24lprof.bmp", kUnknown},
      {"q/rgb24png.bmp", kUnknown},
      {"q/rgb24prof.bmp", kUnknown},
      {"q/rgb24prof2.bmp", kUnknown},
      {"q/rgb24rle24.bmp", kUnknown},
      // 10- and 11-bit channels: the reference truncates where we round.
      {"q/rgb32-111110.bmp", kOk, Compare::Tolerance, kRounding},
      {"q/rgb32-7187.bmp", kOk, Compare::Tolerance, 2},
      {"q/rgb32-xbgr.bmp", kUnknown},
      {"q/rgb32fakealpha.bmp", kOk, Compare::Exact},  // the high byte is ignored
      {"q/rgb32h52.bmp", kUnknown},
      {"q/rgba16-1924.bmp", kUnknown},
      {"q/rgba16-4444.bmp", kUnknown},
      {"q/rgba16-5551.bmp", kUnknown},
      {"q/rgba32-1.bmp", kUnknown},
      {"q/rgba32-1010102.bmp", kUnknown},
      {"q/rgba32-2.bmp", kUnknown},
      {"q/rgba32-61754.bmp", kUnknown},
      {"q/rgba32-81284.bmp", kUnknown},
      {"q/rgba32abf.bmp", kConversion},  // alpha bit fields: compression 6
      {"q/rgba32h56.bmp", kUnknown},
      {"q/rgba64.bmp", kConversion},
  };
  return cases;
}

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool HaveConvert() {
  static const bool have = std::system("command -v convert >/dev/null 2>&1") == 0;
  return have;
}

// The reference decoding: RGB bytes, top row first.
std::vector<uint8_t> Reference(const fs::path& path) {
  const std::string command = "convert '" + path.string() + "' -depth 8 rgb:- 2>/dev/null";
  std::vector<uint8_t> out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  for (int c; (c = std::fgetc(pipe)) != EOF;) out.push_back(static_cast<uint8_t>(c));
  pclose(pipe);
  return out;
}

::testing::AssertionResult FullRange(const ImageRecord& image) {
  uint8_t max[3] = {};
  const size_t bytes = static_cast<size_t>(image.width) * image.height * 3;
  for (size_t i = 0; i < bytes; ++i) max[i % 3] = std::max(max[i % 3], image.pixels[i]);
  if (max[0] == 255 && max[1] == 255 && max[2] == 255) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "brightest red, green, blue: " << int{max[0]} << ", " << int{max[1]} << ", "
                                       << int{max[2]} << "; expected 255 each";
}

::testing::AssertionResult AgreesWithReference(const ImageRecord& image, const std::vector<uint8_t>& ref,
                                               const SuiteCase& c) {
  const size_t w = static_cast<size_t>(image.width);
  const size_t h = static_cast<size_t>(image.height);
  if (ref.size() != w * h * 3) {
    return ::testing::AssertionFailure() << "reference has " << ref.size() << " bytes, expected " << w * h * 3;
  }
  const int tolerance = c.compare == Compare::Tolerance ? c.tolerance : 0;
  for (size_t y = 0; y < h; ++y) {
    for (size_t x = 0; x < w; ++x) {
      const uint8_t* ours = image.pixels.get() + (y * w + x) * 3;
      const uint8_t* theirs = ref.data() + ((h - 1 - y) * w + x) * 3;
      if (c.compare == Compare::WhereDecoded && ours[0] == 0 && ours[1] == 0 && ours[2] == 0) continue;
      for (int k = 0; k < 3; ++k) {
        if (std::abs(ours[k] - theirs[k]) > tolerance) {
          return ::testing::AssertionFailure()
                 << "pixel x=" << x << " row from bottom=" << y << ": ours " << Rgb{ours[0], ours[1], ours[2]}
                 << ", reference " << Rgb{theirs[0], theirs[1], theirs[2]} << " (tolerance " << tolerance << ")";
        }
      }
    }
  }
  return ::testing::AssertionSuccess();
}

class BmpSuite : public ::testing::TestWithParam<SuiteCase> {
 protected:
  void SetUp() override { KOVRIN_SKIP_WITHOUT_SHARED("bmpsuite"); }
};

TEST_P(BmpSuite, DecodesOrFailsAsListed) {
  const SuiteCase& c = GetParam();
  const fs::path path = kSuite / c.name;
  const std::vector<uint8_t> file = ReadFile(path);
  ASSERT_FALSE(file.empty()) << "cannot read " << path;
  const BmpResult result = Decode(file);
  ASSERT_EQ(result.error, c.expected) << c.name;
  if (!result.image) return;
  if (c.compare == Compare::FullRange) {
    EXPECT_TRUE(FullRange(*result.image)) << c.name;
  }
  if (c.compare == Compare::None || c.compare == Compare::FullRange) return;
  if (!HaveConvert()) {
    GTEST_SKIP() << "no convert to compare with";
  }
  EXPECT_TRUE(AgreesWithReference(*result.image, Reference(path), c)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(bmp, BmpSuite, ::testing::ValuesIn(Cases()), [](const auto& p) {
  std::string name = p.param.name;
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
});

TEST(bmpSuiteTable, ListsEveryFileOfTheSuite) {
  KOVRIN_SKIP_WITHOUT_SHARED("bmpsuite");
  std::set<std::string> listed;
  for (const SuiteCase& c : Cases()) listed.insert(c.name);
  for (const char* folder : {"b", "g", "q"}) {
    for (const auto& entry : fs::directory_iterator(kSuite / folder)) {
      const std::string name = std::string(folder) + "/" + entry.path().filename().string();
      EXPECT_TRUE(listed.count(name)) << name << " is in the suite but not in the table";
    }
  }
}

}  // namespace
}  // namespace kovrin::test::bmp
