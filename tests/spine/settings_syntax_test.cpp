// config.cfg as the test programs read it: entry syntax, titles, conversion
// and the line reader.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "framework/settings_file.h"

using kovrin::framework::JoinTextLines;
using kovrin::framework::ParseSettingsInto;
using kovrin::framework::ProgramProfile;
using kovrin::framework::SaturatingAtoi;
using kovrin::framework::SettingsRecord;

namespace {

const ProgramProfile kOverdraw{
    "Overdraw Stress Test 0.01c", "OpenGL: Overdraw Stress Test  ", "", "x", 1024, 768, 32, false};
const ProgramProfile kBlending{
    "Alpha Blending 0.01", "OpenGL: Alpha Blending Performance  ", "x", "", 800, 600, 32, true};

struct Parsed {
  SettingsRecord settings;
  std::string title;
};

Parsed Parse(const std::string& text, const ProgramProfile& profile) {
  Parsed p{{profile.defaultResX, profile.defaultResY, profile.defaultBitDepth, true}, profile.initialTitle};
  ParseSettingsInto(text, profile, p.settings, p.title);
  return p;
}

struct SyntaxCase {
  const char* name;
  std::string text;
  int32_t resX, resY, depth;
  std::string title;
};

class OverdrawSyntax : public testing::TestWithParam<SyntaxCase> {};

TEST_P(OverdrawSyntax, SetsFieldsAndTitle) {
  const SyntaxCase& c = GetParam();
  const Parsed p = Parse(c.text, kOverdraw);
  EXPECT_EQ(p.settings.ResX, c.resX) << "text: " << c.text;
  EXPECT_EQ(p.settings.ResY, c.resY) << "text: " << c.text;
  EXPECT_EQ(p.settings.BitDepth, c.depth) << "text: " << c.text;
  EXPECT_EQ(p.title, c.title) << "text: " << c.text;
  EXPECT_TRUE(p.settings.Fullscreen);
}

const std::string kPrefix = "OpenGL: Overdraw Stress Test  ";

INSTANTIATE_TEST_SUITE_P(
    Entries, OverdrawSyntax,
    testing::Values(
        SyntaxCase{"LauncherFile", "GL_RESX=640; GL_RESY=480; GL_BITDEPTH=16; ", 640, 480, 16,
                   kPrefix + "640x480  16 bpp"},
        SyntaxCase{"Empty", "", 1024, 768, 32, "Overdraw Stress Test 0.01c"},
        SyntaxCase{"SpacesEverywhere", "GL_RESX = 800 ; ", 800, 768, 32, kPrefix + "800"},
        SyntaxCase{"SpacesInsideKeyAndValue", "G L_RE SX=8 0 0;", 800, 768, 32, kPrefix + "800"},
        SyntaxCase{"LowerCaseKeyIgnored", "gl_resx=800;", 1024, 768, 32, "Overdraw Stress Test 0.01c"},
        SyntaxCase{"LastEntryWithoutSemicolon", "GL_RESX=800", 1024, 768, 32, "Overdraw Stress Test 0.01c"},
        SyntaxCase{"TrailingDigits", "GL_RESX=12x;", 12, 768, 32, kPrefix + "12x"},
        SyntaxCase{"NoDigits", "GL_RESX=abc;", 0, 768, 32, kPrefix + "abc"},
        SyntaxCase{"LastOfTwoWins", "GL_RESX=1024;GL_RESX=640;", 640, 768, 32, kPrefix + "640"},
        SyntaxCase{"ResYFirstLosesHeightInTitle", "GL_RESY=480;GL_RESX=640;GL_BITDEPTH=16;", 640, 480, 16,
                   kPrefix + "64016 bpp"},
        SyntaxCase{"DepthOnly", "GL_BITDEPTH=16;", 1024, 768, 16, "Overdraw Stress Test 0.01c16 bpp"},
        SyntaxCase{"TabBeforeKey", "\tGL_RESX=800;", 1024, 768, 32, "Overdraw Stress Test 0.01c"},
        SyntaxCase{"TabBeforeValue", "GL_RESX=\t800;", 800, 768, 32, kPrefix + "\t800"},
        SyntaxCase{"SecondEqualsDropped", "GL_RESX=8=00;", 800, 768, 32, kPrefix + "800"},
        SyntaxCase{"NoEqualsEmptyValue", "GL_RESX;", 0, 768, 32, kPrefix},
        SyntaxCase{"EntrySpreadOverLines", "GL_RE SX=6 40; ", 640, 768, 32, kPrefix + "640"},
        SyntaxCase{"NegativeValue", "GL_RESY=-5;", 1024, -5, 32, "Overdraw Stress Test 0.01cx-5  "},
        SyntaxCase{"OverflowSaturatesHigh", "GL_RESX=99999999999;", INT32_MAX, 768, 32, kPrefix + "99999999999"},
        SyntaxCase{"OverflowSaturatesLow", "GL_RESX=-99999999999;", INT32_MIN, 768, 32, kPrefix + "-99999999999"}),
    [](const testing::TestParamInfo<SyntaxCase>& tp) { return std::string(tp.param.name); });

TEST(BlendingSyntax, TitleShapeMatchesTheOverdrawOne) {
  const Parsed p = Parse("GL_RESX=640;GL_RESY=480;GL_BITDEPTH=16;", kBlending);
  EXPECT_EQ(p.title, "OpenGL: Alpha Blending Performance  640x480  16 bpp");
  EXPECT_EQ(p.settings.ResX, 640);
  EXPECT_EQ(p.settings.ResY, 480);
  EXPECT_EQ(p.settings.BitDepth, 16);
}

TEST(BlendingSyntax, EmptyTextKeepsDefaults) {
  const Parsed p = Parse("", kBlending);
  EXPECT_EQ(p.settings.ResX, 800);
  EXPECT_EQ(p.settings.ResY, 600);
  EXPECT_EQ(p.title, "Alpha Blending 0.01");
}

struct AtoiCase {
  const char* text;
  int32_t value;
};

TEST(SaturatingAtoi, BehavesAsAtoiInRangeAndSaturatesBeyond) {
  const AtoiCase cases[] = {
      {"640", 640},
      {"  42", 42},
      {"\t7", 7},
      {"+12", 12},
      {"-12", -12},
      {"12x", 12},
      {"x12", 0},
      {"", 0},
      {"-", 0},
      {"2147483647", INT32_MAX},
      {"2147483648", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"-2147483649", INT32_MIN},
      {"000000000000000000016", 16},
      {"99999999999999999999999", INT32_MAX},
  };
  for (const AtoiCase& c : cases) {
    EXPECT_EQ(SaturatingAtoi(c.text), c.value) << "text: '" << c.text << "'";
  }
}

TEST(JoinTextLines, EachLineFollowedBySpace) {
  EXPECT_EQ(JoinTextLines("a\r\nb\r\n"), "a b ");
  EXPECT_EQ(JoinTextLines("a\nb"), "a b ");
  EXPECT_EQ(JoinTextLines(""), "");
  EXPECT_EQ(JoinTextLines("\r\n"), " ");
  // A lone CR is a character of the line, as in the desktop's text mode.
  EXPECT_EQ(JoinTextLines("a\rb\n"), "a\rb ");
}

TEST(JoinTextLines, LineLongerThan1022EndsTheText) {
  const std::string fits(1022, 'x');
  const std::string tooLong(1023, 'y');
  EXPECT_EQ(JoinTextLines(fits + "\r\nGL_RESX=1;\r\n"), fits + " GL_RESX=1; ");
  EXPECT_EQ(JoinTextLines("GL_RESX=640;\r\n" + tooLong + "\r\nGL_RESY=480;\r\n"), "GL_RESX=640; ");
  const Parsed p =
      Parse(JoinTextLines("GL_RESX=640;\r\n" + std::string(1100, 'z') + "\r\nGL_RESY=480;\r\n"), kOverdraw);
  EXPECT_EQ(p.settings.ResX, 640);
  EXPECT_EQ(p.settings.ResY, 768) << "entries after an over-long line must not apply";
}

}  // namespace
