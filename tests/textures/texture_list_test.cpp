// The texture-list scan: count, names, spaces, and the lists no set comes from.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/settings_file.h"
#include "framework/texture_set.h"

using kovrin::framework::JoinTextLines;
using kovrin::framework::ParseTextureList;
using kovrin::framework::TextureFilePath;
using kovrin::framework::TextureList;

namespace {

using Names = std::vector<std::string>;

std::string Describe(const std::optional<TextureList>& list) {
  if (!list) return "no list";
  std::string text = std::to_string(list->names.size()) + " entries:";
  for (std::size_t i = 0; i < list->names.size() && i < 12; ++i) text += " [" + list->names[i] + "]";
  if (list->names.size() > 12) text += " ...";
  return text;
}

Names Padded(Names names, std::size_t size) {
  names.resize(size);
  return names;
}

struct ScanCase {
  const char* what;
  std::string text;
  std::optional<Names> expected;
};

const std::string kBlendingList =
    "{360}{colorview001;colorview002;colorview003;colorview004;colorview005;colorview006;colorview007;"
    "colorview008;}";

std::vector<ScanCase> ScanCases() {
  return {
      {"overdraw list", "{3}{texture001;texture002;texture003;}", Names{"texture001", "texture002", "texture003"}},
      {"spaces everywhere, last name closed by }", " { 3 } { x ; y ; z } ", Names{"x", "y", "z"}},
      {"fewer names than entries", "{3}{a;b;}", Names{"a", "b", ""}},
      {"blending list", kBlendingList,
       Padded({"colorview001", "colorview002", "colorview003", "colorview004", "colorview005", "colorview006",
               "colorview007", "colorview008"},
              360)},
      {"count 0", "{0}{a;}", std::nullopt},
      {"no brace at all", "texture001;texture002;", std::nullopt},
      {"empty text", "", std::nullopt},
      {"only spaces", "     ", std::nullopt},
      {"the same name twice", "{2}{a;a;}", Names{"a", "a"}},
      {"surplus names are dropped", "{2}{a;b;c;d}", Names{"a", "b"}},
      {"text before the first {", "font: {1}{a;}", Names{"a"}},
      {"negative count", "{-3}{a;}", std::nullopt},
      {"count with plus sign", "{+2}{a;b;}", Names{"a", "b"}},
      {"count from leading digits", "{2x}{a;b;}", Names{"a", "b"}},
      {"count without leading digits", "{x2}{a;}", std::nullopt},
      {"{ inside the count text", "{1{2}{a;}", Names{"a"}},
      {"count never closed", "{3", std::nullopt},
      {"count never closed, names follow", "{3 texture001;texture002", std::nullopt},
      {"list ends after the count", "{3}", Names{"", "", ""}},
      {"list ends inside a name", "{2}{ab", Names{"ab", ""}},
      {"{ inside names is skipped", "{2}{a{b;c}", Names{"ab", "c"}},
      {"text after the closing } is ignored", "{1}{a;}{b;}", Names{"a"}},
      {"tabs belong to names", "{1}{a\tb;}", Names{"a\tb"}},
      {"other punctuation belongs to names", "{2}{a.b;c-d_e;}", Names{"a.b", "c-d_e"}},
      {"empty names in between", "{3}{;b;;}", Names{"", "b", ""}},
      {"largest accepted count", "{65536}{a;}", Padded({"a"}, 65536)},
      {"count above the cap", "{65537}{a;}", std::nullopt},
      {"absurd count", "{999999999}{a;}", std::nullopt},
      {"count beyond 32 bits", "{99999999999999999999}{a;}", std::nullopt},
  };
}

TEST(TextureListScan, Table) {
  for (const ScanCase& c : ScanCases()) {
    const std::optional<TextureList> list = ParseTextureList(c.text);
    if (!c.expected) {
      EXPECT_FALSE(list.has_value()) << c.what << ": expected no list, got " << Describe(list);
      continue;
    }
    ASSERT_TRUE(list.has_value()) << c.what << ": expected " << c.expected->size() << " entries, got no list";
    EXPECT_EQ(list->names, *c.expected) << c.what << ": got " << Describe(list);
  }
}

TEST(TextureListScan, SpacedListEqualsCompactList) {
  const std::optional<TextureList> spaced = ParseTextureList(" { 3 } { x ; y ; z } ");
  const std::optional<TextureList> compact = ParseTextureList("{3}{x;y;z;}");
  ASSERT_TRUE(spaced && compact) << Describe(spaced) << " / " << Describe(compact);
  EXPECT_EQ(spaced->names, compact->names);
}

TEST(TextureListScan, BlendingListNamesExactlyEight) {
  const std::optional<TextureList> list = ParseTextureList(kBlendingList);
  ASSERT_TRUE(list.has_value());
  ASSERT_EQ(list->names.size(), 360u) << "the list declares 360 entries, not the 8 it names";
  std::size_t named = 0;
  for (const std::string& name : list->names) named += name.empty() ? 0 : 1;
  EXPECT_EQ(named, 8u);
  EXPECT_EQ(list->names[7], "colorview008");
  EXPECT_EQ(list->names[8], "");
}

TEST(TextureListScan, ListBrokenAcrossLinesOfAFile) {
  // ReadTextFile joins the lines with one space each; the scan ignores them.
  const std::string file = "{ 3 }\r\n{texture\r\n001;texture002\r\n;\r\ntexture003}\r\n";
  const std::optional<TextureList> list = ParseTextureList(JoinTextLines(file));
  ASSERT_TRUE(list.has_value()) << "text: " << JoinTextLines(file);
  EXPECT_EQ(list->names, (Names{"texture001", "texture002", "texture003"}));
}

TEST(TextureListScan, TextureFilePaths) {
  EXPECT_EQ(TextureFilePath("texture001"), "data/texture001.tex");
  EXPECT_EQ(TextureFilePath("a.b"), "data/a.b.tex");
}

TEST(TextureSetEntry, OneBasedAndZeroOutside) {
  const TextureSet set{{7, 0, 9}};
  EXPECT_EQ(set.Entry(0), 0u);
  EXPECT_EQ(set.Entry(1), 7u);
  EXPECT_EQ(set.Entry(2), 0u);
  EXPECT_EQ(set.Entry(3), 9u);
  EXPECT_EQ(set.Entry(4), 0u);
  EXPECT_EQ(set.Entry(static_cast<std::size_t>(-1)), 0u);
}

}  // namespace
