// LoadTextureSet on a real GL: which textures are made, from which files, in
// which order, with which parameters, and what happens to entries that cannot
// have one.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/texture_set.h"
#include "tests/gltrace/gltrace_capture.h"
#include "tests/gltrace/gltrace_format.h"
#include "tests/gltrace/gltrace_reader.h"
#include "tests/textures/gl_fixture.h"

namespace kovrin::test::textures {
namespace {

using kovrin::test::gltrace::Call;

std::string Digest(const Picture& picture) {
  char text[16];
  std::snprintf(text, sizeof text, "px:%08X", kovrin::test::gltrace::DigestOf(picture.rgb));
  return text;
}

class TextureSetGl : public GlFolderTest {
 protected:
  // Loads with the recorder running; the calls land in calls_.
  std::optional<TextureSet> LoadRecorded(const std::string& listFile, const std::string& listText) {
    testing::internal::CaptureStderr();
    kovrin::test::gltrace::StartCapture();
    std::optional<TextureSet> set = LoadTextureSet(listFile, listText);
    calls_ = kovrin::test::gltrace::ParseTrace(kovrin::test::gltrace::StopCapture()).AllCalls();
    stderr_ = testing::internal::GetCapturedStderr();
    return set;
  }

  // The upload of one texture as LoadTextureSet issues it.
  void ExpectUpload(std::size_t& at, uint32_t name, const Picture& picture, const std::string& what) {
    const std::vector<std::string> expected = {
        "glGenTextures 1 = " + std::to_string(name),
        "glBindTexture GL_TEXTURE_2D " + std::to_string(name),
        "glTexParameteri GL_TEXTURE_2D GL_TEXTURE_MAG_FILTER GL_LINEAR",
        "glTexParameteri GL_TEXTURE_2D GL_TEXTURE_MIN_FILTER GL_LINEAR",
        "glTexImage2D GL_TEXTURE_2D 0 GL_RGB8 " + std::to_string(picture.width) + " " + std::to_string(picture.height) +
            " 0 GL_RGB GL_UNSIGNED_BYTE " + Digest(picture),
    };
    for (const std::string& line : expected) {
      ASSERT_LT(at, calls_.size()) << what << ": the calls end before \"" << line << "\"";
      EXPECT_EQ(calls_[at].Text(), line) << what << ", call " << at;
      ++at;
    }
  }

  // Every upload happens with rows packed tightly, and the caller's alignment
  // comes back afterwards.
  void ExpectUnpackingBrackets() {
    ASSERT_GE(calls_.size(), 2u);
    EXPECT_EQ(calls_.front().Text(), "glPixelStorei GL_UNPACK_ALIGNMENT 1");
    EXPECT_EQ(calls_.back().Text(), "glPixelStorei GL_UNPACK_ALIGNMENT 4");
  }

  std::size_t CountCalls(const std::string& name) const {
    return kovrin::test::gltrace::CallsNamed(calls_, name).size();
  }

  std::vector<Call> calls_;
  std::string stderr_;
};

TEST_F(TextureSetGl, OverdrawListMakesThreeTexturesInListOrder) {
  // Widths 3 and 5 leave rows that are no multiple of four bytes long.
  const Picture p1 = AddTexture("texture001", 3, 2, 1);
  const Picture p2 = AddTexture("texture002", 4, 4, 2);
  const Picture p3 = AddTexture("texture003", 5, 3, 3);
  const std::optional<TextureSet> set = LoadRecorded("", "{3}{texture001;texture002;texture003;}");
  ASSERT_TRUE(set.has_value());
  ASSERT_EQ(set->names.size(), 3u);
  EXPECT_TRUE(MessageBoxLines(stderr_).empty()) << stderr_;

  ExpectUnpackingBrackets();
  std::size_t at = 1;
  ExpectUpload(at, set->names[0], p1, "texture001");
  ExpectUpload(at, set->names[1], p2, "texture002");
  ExpectUpload(at, set->names[2], p3, "texture003");
  EXPECT_EQ(at + 1, calls_.size()) << "calls beyond the three uploads";

  const Picture* pictures[] = {&p1, &p2, &p3};
  for (std::size_t i = 0; i < 3; ++i) {
    const UploadedTexture texture = ReadTexture(set->Entry(i + 1));
    EXPECT_EQ(texture.width, pictures[i]->width) << "entry " << i + 1;
    EXPECT_EQ(texture.height, pictures[i]->height) << "entry " << i + 1;
    EXPECT_EQ(texture.rgb, pictures[i]->rgb) << "entry " << i + 1 << ": the GL holds other pixels than the file";
  }
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<uint32_t>(bound), set->names[2]) << "the last upload stays bound";
}

TEST_F(TextureSetGl, TexturesAreLinearWithoutMipmaps) {
  AddTexture("a", 2, 2, 1);
  const std::optional<TextureSet> set = LoadRecorded("", "{1}{a;}");
  ASSERT_TRUE(set.has_value());
  glBindTexture(GL_TEXTURE_2D, set->Entry(1));
  GLint mag = 0, min = 0, wrapS = 0, format = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
  EXPECT_EQ(mag, GL_LINEAR);
  EXPECT_EQ(min, GL_LINEAR);
  EXPECT_EQ(wrapS, GL_REPEAT);
  EXPECT_EQ(format, GL_RGB8);
  GLint level1Width = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1Width);
  EXPECT_EQ(level1Width, 0) << "a mipmap level was built";
}

TEST_F(TextureSetGl, UnpackAlignmentOfTheCallerIsKept) {
  AddTexture("a", 3, 1, 1);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
  const std::optional<TextureSet> set = LoadRecorded("", "{1}{a;}");
  ASSERT_TRUE(set.has_value());
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 2);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

TEST_F(TextureSetGl, SpacedListLoadsTheSameFilesAsTheCompactOne) {
  const Picture x = AddTexture("x", 2, 1, 1);
  const Picture y = AddTexture("y", 1, 2, 2);
  const Picture z = AddTexture("z", 2, 2, 3);
  const std::optional<TextureSet> set = LoadRecorded("", " { 3 } { x ; y ; z } ");
  ASSERT_TRUE(set.has_value());
  ASSERT_EQ(set->names.size(), 3u);
  std::size_t at = 1;
  ExpectUpload(at, set->names[0], x, "x");
  ExpectUpload(at, set->names[1], y, "y");
  ExpectUpload(at, set->names[2], z, "z");
}

TEST_F(TextureSetGl, EntryWithoutNameGetsNoTexture) {
  const Picture a = AddTexture("a", 2, 2, 1);
  const Picture b = AddTexture("b", 2, 2, 2);
  const std::optional<TextureSet> set = LoadRecorded("", "{3}{a;b;}");
  ASSERT_TRUE(set.has_value());
  ASSERT_EQ(set->names.size(), 3u);
  EXPECT_EQ(CountCalls("glGenTextures"), 2u);
  EXPECT_NE(set->Entry(1), 0u);
  EXPECT_NE(set->Entry(2), 0u);
  EXPECT_EQ(set->Entry(3), 0u);
  std::size_t at = 1;
  ExpectUpload(at, set->names[0], a, "a");
  ExpectUpload(at, set->names[1], b, "b");
}

TEST_F(TextureSetGl, BlendingListMakesEightTexturesInThreeHundredSixtyEntries) {
  std::vector<Picture> pictures;
  std::string list = "{360}{";
  for (int i = 1; i <= 8; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "colorview%03d", i);
    pictures.push_back(AddTexture(name, 2, 2, i));
    list += std::string(name) + ";";
  }
  list += "}";
  const std::optional<TextureSet> set = LoadRecorded("", list);
  ASSERT_TRUE(set.has_value());
  ASSERT_EQ(set->names.size(), 360u);
  EXPECT_EQ(CountCalls("glGenTextures"), 8u);
  std::size_t at = 1;
  for (std::size_t i = 0; i < 8; ++i)
    ExpectUpload(at, set->names[i], pictures[i], "colorview " + std::to_string(i + 1));
  for (std::size_t i = 9; i <= 360; ++i) ASSERT_EQ(set->Entry(i), 0u) << "entry " << i;
}

TEST_F(TextureSetGl, SameFileTwiceMakesTwoTextures) {
  const Picture a = AddTexture("a", 2, 3, 1);
  const std::optional<TextureSet> set = LoadRecorded("", "{2}{a;a;}");
  ASSERT_TRUE(set.has_value());
  ASSERT_EQ(set->names.size(), 2u);
  EXPECT_NE(set->names[0], set->names[1]);
  std::size_t at = 1;
  ExpectUpload(at, set->names[0], a, "first a");
  ExpectUpload(at, set->names[1], a, "second a");
  EXPECT_EQ(glIsTexture(set->names[0]), GL_TRUE);
  EXPECT_EQ(glIsTexture(set->names[1]), GL_TRUE);
}

TEST_F(TextureSetGl, ListsWithoutSetLoadNothing) {
  AddTexture("a", 2, 2, 1);
  for (const char* list : {"{0}{a;}", "a;b;c;", "{3", "{-1}{a;}", "{999999999}{a;}"}) {
    const std::optional<TextureSet> set = LoadRecorded("", list);
    EXPECT_FALSE(set.has_value()) << list;
    EXPECT_TRUE(calls_.empty()) << list << ": first GL call " << calls_.front().Text();
    EXPECT_TRUE(MessageBoxLines(stderr_).empty()) << list << ": " << stderr_;
  }
}

TEST_F(TextureSetGl, ImageThatCannotBeDecodedLeavesItsEntryEmpty) {
  const Picture a = AddTexture("a", 2, 2, 1);
  const Picture c = AddTexture("c", 3, 3, 3);
  AddFile("data/broken.tex", "BM this is no bitmap");
  const std::optional<TextureSet> set = LoadRecorded("", "{4}{a;missing;c;broken;}");
  ASSERT_TRUE(set.has_value());
  ASSERT_EQ(set->names.size(), 4u);
  EXPECT_NE(set->Entry(1), 0u);
  EXPECT_EQ(set->Entry(2), 0u) << "entry of a missing file";
  EXPECT_NE(set->Entry(3), 0u);
  EXPECT_EQ(set->Entry(4), 0u) << "entry of an undecodable file";
  EXPECT_EQ(CountCalls("glGenTextures"), 2u) << "a texture name was spent on an image that failed";
  std::size_t at = 1;
  ExpectUpload(at, set->names[0], a, "a");
  ExpectUpload(at, set->names[2], c, "c");

  const std::vector<std::string> boxes = MessageBoxLines(stderr_);
  ASSERT_EQ(boxes.size(), 2u) << stderr_;
  EXPECT_EQ(boxes[0].rfind("[msgbox] caption: Error | text: Failed to open DIB file data/missing.tex.", 0), 0u)
      << boxes[0];
  EXPECT_EQ(boxes[1].rfind("[msgbox] caption: Error | text: ", 0), 0u) << boxes[1];
  EXPECT_NE(boxes[1].find("buttons: OK"), std::string::npos) << boxes[1];
}

TEST_F(TextureSetGl, ListReadFromAFileAcrossLines) {
  const Picture a = AddTexture("glyph_a", 2, 2, 1);
  const Picture b = AddTexture("glyph_b", 3, 1, 2);
  AddFile("font.lst", "{\r\n2}\r\n{glyph\r\n_a;\r\nglyph_b;}\r\n");
  const std::optional<TextureSet> set = LoadRecorded("font.lst", "");
  ASSERT_TRUE(set.has_value()) << stderr_;
  ASSERT_EQ(set->names.size(), 2u);
  std::size_t at = 1;
  ExpectUpload(at, set->names[0], a, "glyph_a");
  ExpectUpload(at, set->names[1], b, "glyph_b");
}

TEST_F(TextureSetGl, GivenListTextTheFileIsNotRead) {
  AddTexture("a", 1, 1, 1);
  const std::optional<TextureSet> set = LoadRecorded("no-such-file.lst", "{1}{a;}");
  ASSERT_TRUE(set.has_value());
  EXPECT_NE(set->Entry(1), 0u);
  EXPECT_TRUE(MessageBoxLines(stderr_).empty()) << stderr_;
}

TEST_F(TextureSetGl, MissingListFileAskedAndPassedOverGivesNoSet) {
  SetMessageBoxAnswer("yes");
  const std::optional<TextureSet> set = LoadRecorded("no-such-file.lst", "");
  EXPECT_FALSE(set.has_value());
  EXPECT_TRUE(calls_.empty());
  const std::vector<std::string> boxes = MessageBoxLines(stderr_);
  ASSERT_EQ(boxes.size(), 1u) << stderr_;
  EXPECT_NE(boxes[0].find("text: Fehler beim Laden von no-such-file.lst!\\nFortfahren? | buttons: YESNO | answer: YES"),
            std::string::npos)
      << boxes[0];
}

TEST_F(TextureSetGl, EmptyListFileGivesNoSetWithoutQuestion) {
  AddFile("empty.lst", "");
  const std::optional<TextureSet> set = LoadRecorded("empty.lst", "");
  EXPECT_FALSE(set.has_value());
  EXPECT_TRUE(MessageBoxLines(stderr_).empty()) << stderr_;
}

// The shipped font and images, as they lie in the run folder.
TEST_F(TextureSetGl, ShippedFontLoadsFortyTwoGlyphs) {
  std::filesystem::current_path(KOVRIN_RUN_DIR);
  const std::optional<TextureSet> set = LoadRecorded("default.fnt", "");
  ASSERT_TRUE(set.has_value()) << "default.fnt in " << KOVRIN_RUN_DIR << ": " << stderr_;
  ASSERT_GE(set->names.size(), 42u);
  for (std::size_t i = 1; i <= 42; ++i) EXPECT_NE(set->Entry(i), 0u) << "glyph " << i - 1 << " has no texture";
  std::size_t textures = 0;
  for (const uint32_t name : set->names) textures += name != 0 ? 1 : 0;
  EXPECT_EQ(CountCalls("glGenTextures"), textures);
  EXPECT_TRUE(MessageBoxLines(stderr_).empty()) << stderr_;
}

}  // namespace
}  // namespace kovrin::test::textures
