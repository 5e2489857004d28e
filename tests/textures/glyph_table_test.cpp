// The font's character table: which glyphs a text draws and how far each
// glyph moves the pen.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "framework/bitmap_font.h"

using kovrin::framework::CharGlyphs;
using kovrin::framework::GlyphsForChar;
using kovrin::framework::GlyphStep;
using kovrin::framework::kGlyphCount;
using kovrin::framework::kNoGlyph;

namespace {

struct Step {
  float advance;
  int glyph;  // kNoGlyph: advance only
  bool operator==(const Step& other) const { return advance == other.advance && glyph == other.glyph; }
};

std::vector<Step> StepsOf(std::string_view text) {
  std::vector<Step> steps;
  for (const char c : text) {
    const CharGlyphs glyphs = GlyphsForChar(static_cast<unsigned char>(c));
    for (int i = 0; i < glyphs.count; ++i) {
      const GlyphStep& s = glyphs.steps[static_cast<std::size_t>(i)];
      steps.push_back({s.advance, s.glyph});
    }
  }
  return steps;
}

std::string Describe(const std::vector<Step>& steps) {
  std::string text;
  for (const Step& s : steps) {
    text += "(" + std::to_string(s.advance) + (s.glyph == kNoGlyph ? "" : ", g" + std::to_string(s.glyph)) + ") ";
  }
  return text.empty() ? "nothing" : text;
}

struct GlyphCase {
  const char* what;
  std::string text;
  std::vector<Step> expected;
};

TEST(GlyphTable, Texts) {
  const float a = 1.2f;
  const GlyphCase cases[] = {
      {"lower case", "abc", {{a, 0}, {a, 1}, {a, 2}}},
      {"upper case shares the glyphs", "ABC", {{a, 0}, {a, 1}, {a, 2}}},
      {"O umlaut (0xD6) then l", "\xD6l", {{a, 14}, {a, 4}, {a, 11}}},
      {"underscore", "a_b", {{a, 0}, {1.3f, 41}, {0.1f, kNoGlyph}, {a, 1}}},
      {"colon is skipped", "x:y", {{a, 23}, {a, 24}}},
      {"empty text", "", {}},
      {"space advances only", "a b", {{a, 0}, {a, kNoGlyph}, {a, 1}}},
      {"last letters", "yzYZ", {{a, 24}, {a, 25}, {a, 24}, {a, 25}}},
      {"punctuation", ".?,%-", {{a, 26}, {a, 27}, {a, 38}, {a, 39}, {a, 40}}},
      {"digits", "0159", {{a, 28}, {a, 29}, {a, 33}, {a, 37}}},
      {"a umlaut both cases", "\xE4\xC4", {{a, 0}, {a, 4}, {a, 0}, {a, 4}}},
      {"o umlaut lower case", "\xF6", {{a, 14}, {a, 4}}},
      {"u umlaut both cases", "\xFC\xDC", {{a, 20}, {a, 4}, {a, 20}, {a, 4}}},
      {"sharp s", "\xDF", {{a, 18}, {a, 18}}},
      {"skipped characters", ":/()[]\"'+!#\t\n\x80\xFF", {}},
  };
  for (const GlyphCase& c : cases) {
    const std::vector<Step> steps = StepsOf(c.text);
    EXPECT_EQ(steps, c.expected) << c.what << ": expected " << Describe(c.expected) << "got " << Describe(steps);
  }
}

TEST(GlyphTable, TitleWithoutItsColon) {
  const std::vector<Step> steps = StepsOf("OpenGL: Overdraw Stress Test  640x480  16 bpp");
  std::size_t glyphs = 0;
  std::size_t spaces = 0;
  for (const Step& s : steps) (s.glyph == kNoGlyph ? spaces : glyphs) += 1;
  // 24 letters in the words, 12 characters in "640x480", "16" and "bpp".
  EXPECT_EQ(glyphs, 24u + 12u);
  EXPECT_EQ(spaces, 8u);
}

TEST(GlyphTable, EveryByteStaysInsideTheFont) {
  std::set<int> used;
  for (int byte = 0; byte < 256; ++byte) {
    const CharGlyphs glyphs = GlyphsForChar(static_cast<unsigned char>(byte));
    ASSERT_GE(glyphs.count, 0) << "byte " << byte;
    ASSERT_LE(glyphs.count, 2) << "byte " << byte;
    for (int i = 0; i < glyphs.count; ++i) {
      const int glyph = glyphs.steps[static_cast<std::size_t>(i)].glyph;
      if (glyph == kNoGlyph) continue;
      EXPECT_GE(glyph, 0) << "byte " << byte;
      EXPECT_LT(glyph, kGlyphCount) << "byte " << byte;
      used.insert(glyph);
    }
  }
  EXPECT_EQ(used.size(), static_cast<std::size_t>(kGlyphCount)) << "some glyph of the font is never printed";
}

}  // namespace
