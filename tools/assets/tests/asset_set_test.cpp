// The generated data set: the files the programs ask for, formats that
// decode to what was painted, glyphs that sit on one baseline inside their
// cells, and blending textures dim enough to add up.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "tools/assets/asset_set.h"
#include "tools/assets/glyphs.h"
#include "tools/assets/tests/reference_bmp.h"

using namespace kovrin::assets;

namespace {

// Built once: painting everything takes a moment.
const std::vector<AssetFile>& Assets() {
  static const std::vector<AssetFile> files = BuildAssetSet(KOVRIN_ASSET_FONT);
  return files;
}

const AssetFile* Find(const std::string& name) {
  for (const AssetFile& f : Assets()) {
    if (f.name == name) {
      return &f;
    }
  }
  return nullptr;
}

ReferenceBmp Decode(const std::string& name) {
  const AssetFile* file = Find(name);
  if (file == nullptr) {
    ADD_FAILURE() << name << " is not in the data set";
    return {};
  }
  std::string error;
  ReferenceBmp bmp = ReadReferenceBmp(file->bytes, error);
  EXPECT_TRUE(error.empty()) << name << ": " << error;
  return bmp;
}

std::vector<std::string> FontNames() {
  const std::string text = FontListText();
  const size_t open = text.find("}{");
  const size_t close = text.rfind('}');
  std::vector<std::string> names;
  std::string current;
  for (size_t i = open + 2; i < close; ++i) {
    if (text[i] == ';') {
      names.push_back(current);
      current.clear();
    } else {
      current += text[i];
    }
  }
  return names;
}

TEST(FontList, DeclaresAndNamesFortyTwoGlyphsInOrder) {
  const std::string text = FontListText();
  EXPECT_EQ(text.rfind("{42}{", 0), 0u) << "list starts: " << text.substr(0, 8);
  EXPECT_EQ(text.substr(text.size() - 2), "}\n");
  const std::vector<std::string> names = FontNames();
  ASSERT_EQ(names.size(), 42u);
  EXPECT_EQ(names[0], "glyph_a");
  EXPECT_EQ(names[25], "glyph_z");
  EXPECT_EQ(names[26], "glyph_period");
  EXPECT_EQ(names[27], "glyph_question");
  EXPECT_EQ(names[28], "glyph_0");
  EXPECT_EQ(names[37], "glyph_9");
  EXPECT_EQ(names[38], "glyph_comma");
  EXPECT_EQ(names[39], "glyph_percent");
  EXPECT_EQ(names[40], "glyph_minus");
  EXPECT_EQ(names[41], "glyph_underscore");
  for (const std::string& n : names) {
    EXPECT_EQ(n.find_first_of(" {};\t\r\n"), std::string::npos) << "name '" << n << "' holds a list mark or space";
  }
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size()) << "names must differ";
}

TEST(DataSet, HoldsEveryFileTheProgramsOpenAndNothingElse) {
  std::set<std::string> expected = {"default.fnt"};
  for (int i = 1; i <= 3; ++i) {
    expected.insert("texture00" + std::to_string(i) + ".tex");
  }
  for (int i = 1; i <= 8; ++i) {
    expected.insert("colorview00" + std::to_string(i) + ".tex");
  }
  for (const std::string& n : FontNames()) {
    expected.insert(n + ".tex");
  }
  std::set<std::string> actual;
  size_t total = 0;
  for (const AssetFile& f : Assets()) {
    EXPECT_TRUE(actual.insert(f.name).second) << f.name << " generated twice";
    total += f.bytes.size();
  }
  EXPECT_EQ(actual, expected);
  EXPECT_LT(total, 2u * 1024 * 1024) << "data set of " << total << " bytes";
}

struct FormatCase {
  const char* name;
  uint32_t headerSize;
  int bitsPerPixel;
  uint32_t compression;
  int side;
};

class ShippedFormats : public testing::TestWithParam<FormatCase> {};

TEST_P(ShippedFormats, FileHasItsLayoutAndDecodes) {
  const FormatCase& c = GetParam();
  const ReferenceBmp bmp = Decode(c.name);
  EXPECT_EQ(bmp.headerSize, c.headerSize) << c.name;
  EXPECT_EQ(bmp.bitsPerPixel, c.bitsPerPixel) << c.name;
  EXPECT_EQ(bmp.compression, c.compression) << c.name;
  EXPECT_EQ(bmp.width, c.side) << c.name;
  EXPECT_EQ(bmp.height, c.side) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    DataSet, ShippedFormats,
    testing::Values(FormatCase{"texture001.tex", 40, 24, 0, 256}, FormatCase{"texture002.tex", 40, 32, 0, 256},
                    FormatCase{"texture003.tex", 12, 24, 0, 256}, FormatCase{"colorview001.tex", 40, 24, 0, 256},
                    FormatCase{"colorview003.tex", 12, 24, 0, 128}, FormatCase{"colorview005.tex", 40, 8, 0, 256},
                    FormatCase{"colorview006.tex", 40, 32, 0, 128}, FormatCase{"glyph_a.tex", 40, 8, 1, kGlyphCell},
                    FormatCase{"glyph_0.tex", 40, 8, 0, kGlyphCell},
                    FormatCase{"glyph_percent.tex", 12, 4, 0, kGlyphCell}));

// Rows (top first) holding ink, and the ink's columns.
struct InkBox {
  int top = kGlyphCell, bottom = -1, left = kGlyphCell, right = -1;
};

InkBox Ink(const ReferenceBmp& bmp) {
  InkBox box;
  for (int y = 0; y < bmp.height; ++y) {
    for (int x = 0; x < bmp.width; ++x) {
      // Faint anti-aliasing fringes do not count as the glyph's edge.
      if (bmp.pixels[static_cast<size_t>(y * bmp.width + x)].r >= 96) {
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
      }
    }
  }
  return box;
}

TEST(Glyphs, AreGreyLightOnBlackWithADarkBorder) {
  for (const GlyphEntry& g : kGlyphs) {
    const std::string name = std::string(g.name) + ".tex";
    const ReferenceBmp bmp = Decode(name);
    ASSERT_EQ(bmp.pixels.size(), static_cast<size_t>(kGlyphCell * kGlyphCell)) << name;
    int lit = 0;
    for (int y = 0; y < kGlyphCell; ++y) {
      for (int x = 0; x < kGlyphCell; ++x) {
        const Rgb p = bmp.pixels[static_cast<size_t>(y * kGlyphCell + x)];
        EXPECT_TRUE(p.r == p.g && p.g == p.b) << name << " pixel " << x << "," << y << " is not grey";
        const bool border = x == 0 || y == 0 || x == kGlyphCell - 1 || y == kGlyphCell - 1;
        // Linear filtering with repeat would pull a lit border into the opposite edge.
        EXPECT_FALSE(border && p.r != 0) << name << " lights border pixel " << x << "," << y;
        lit += p.r >= 128 ? 1 : 0;
      }
    }
    EXPECT_GT(lit, 4) << name << " has almost no ink";
  }
}

TEST(Glyphs, CapitalsAndDigitsShareOneBaselineAndFitTheAdvance) {
  const int baselineRow = Ink(Decode("glyph_h.tex")).bottom;
  for (const char* name : {"glyph_a", "glyph_e", "glyph_m", "glyph_w", "glyph_z", "glyph_1", "glyph_4", "glyph_7"}) {
    const InkBox box = Ink(Decode(std::string(name) + ".tex"));
    EXPECT_EQ(box.bottom, baselineRow) << name << " does not sit on H's baseline";
    EXPECT_LE(box.right - box.left + 1, kGlyphMaxInk + 1) << name << " is wider than the advance allows";
  }
  const InkBox underscore = Ink(Decode("glyph_underscore.tex"));
  EXPECT_GT(underscore.top, baselineRow) << "the underscore lies below the baseline";
  const InkBox minus = Ink(Decode("glyph_minus.tex"));
  const InkBox h = Ink(Decode("glyph_h.tex"));
  EXPECT_GT(minus.top, h.top) << "the minus sits inside the capital height";
  EXPECT_LT(minus.bottom, h.bottom) << "the minus sits inside the capital height";
  // Centred: the capital H leaves about as much room left as right.
  EXPECT_LE(std::abs(h.left - (kGlyphCell - 1 - h.right)), 1) << "H spans columns " << h.left << ".." << h.right;
}

TEST(BlendingTextures, StayDimEnoughToAddUpAndFadeOutAtTheirEdges) {
  for (int i = 1; i <= 8; ++i) {
    const std::string name = "colorview00" + std::to_string(i) + ".tex";
    const ReferenceBmp bmp = Decode(name);
    ASSERT_FALSE(bmp.pixels.empty()) << name;
    double sum = 0.0;
    int borderMax = 0;
    for (int y = 0; y < bmp.height; ++y) {
      for (int x = 0; x < bmp.width; ++x) {
        const Rgb p = bmp.pixels[static_cast<size_t>(y * bmp.width + x)];
        sum += (p.r + p.g + p.b) / 3.0;
        if (x == 0 || y == 0 || x == bmp.width - 1 || y == bmp.height - 1) {
          borderMax = std::max({borderMax, int{p.r}, int{p.g}, int{p.b}});
        }
      }
    }
    const double mean = sum / static_cast<double>(bmp.pixels.size());
    // Up to five layers are added per pixel; a mean above about 50 would
    // wash the middle of the screen out to white.
    EXPECT_LT(mean, 50.0) << name;
    EXPECT_GT(mean, 5.0) << name << " is nearly black";
    EXPECT_LE(borderMax, 3) << name << ": a lit border shows the square's edge";
  }
}

TEST(DataSet, IsTheSameOnEveryBuild) {
  const std::vector<AssetFile> again = BuildAssetSet(KOVRIN_ASSET_FONT);
  ASSERT_EQ(again.size(), Assets().size());
  for (size_t i = 0; i < again.size(); ++i) {
    EXPECT_TRUE(again[i].bytes == Assets()[i].bytes) << again[i].name << " differs between two runs";
  }
}

}  // namespace
