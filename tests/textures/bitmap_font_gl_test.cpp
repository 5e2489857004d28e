// The font on a real GL: the glyph set and square from glPrint_Init, and the
// calls glPrint issues for a text, recorded in-process.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/bitmap_font.h"
#include "framework/graphics.h"
#include "tests/gltrace/gltrace_capture.h"
#include "tests/gltrace/gltrace_reader.h"
#include "tests/textures/gl_fixture.h"

namespace kovrin::test::textures {
namespace {

std::string F(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(v));
  return text;
}

std::string Translate(float x, float y, float z) { return "glTranslatef " + F(x) + " " + F(y) + " " + F(z); }

// What one glyph or space of a text does in the expected stream.
struct Step {
  float advance;
  int glyph;  // -1: advance only
};

class BitmapFontGl : public GlFolderTest {
 protected:
  void SetUp() override {
    GlFolderTest::SetUp();
    if (HasFatalFailure()) return;
    ListBase = glGenLists(2);
    ASSERT_NE(ListBase, 0u);
  }
  void TearDown() override {
    glPrint_Release();
    ListBase = 0;
    GlFolderTest::TearDown();
  }

  // A font of `declared` entries naming `named` glyph images g0, g1, ...
  void WriteFont(int declared, int named) {
    std::string list = "{" + std::to_string(declared) + "}{";
    for (int i = 0; i < named; ++i) {
      const std::string name = "g" + std::to_string(i);
      AddTexture(name, 2, 2, i);
      list += name + ";";
    }
    AddFile("default.fnt", list + "}\r\n");
  }

  void InitRecorded() {
    testing::internal::CaptureStderr();
    kovrin::test::gltrace::StartCapture();
    ASSERT_TRUE(glPrint_Init());
    initCalls_ = kovrin::test::gltrace::ParseTrace(kovrin::test::gltrace::StopCapture()).AllCalls();
    initStderr_ = testing::internal::GetCapturedStderr();
  }

  std::vector<std::string> PrintRecorded(std::string_view text, float x, float y, float z) {
    kovrin::test::gltrace::StartCapture();
    EXPECT_EQ(glPrint(text, x, y, z), 1);
    printCalls_ = kovrin::test::gltrace::ParseTrace(kovrin::test::gltrace::StopCapture()).AllCalls();
    std::vector<std::string> lines;
    for (const kovrin::test::gltrace::Call& call : printCalls_) lines.push_back(call.Text());
    return lines;
  }

  uint32_t GlyphTexture(int glyph) const { return GlyphSet ? GlyphSet->Entry(static_cast<std::size_t>(glyph) + 1) : 0; }

  std::vector<std::string> ExpectedPrint(const std::vector<Step>& steps, float x, float y, float z) const {
    std::vector<std::string> lines = {"glLoadIdentity", Translate(x, y, z - 200.0f), "glEnable GL_BLEND",
                                      "glDisable GL_DEPTH_TEST", "glBlendFunc GL_ONE GL_ONE"};
    for (const Step& step : steps) {
      lines.push_back(Translate(step.advance, 0.0f, 0.0f));
      if (step.glyph < 0) continue;
      lines.push_back("glBindTexture GL_TEXTURE_2D " + std::to_string(GlyphTexture(step.glyph)));
      lines.push_back("glCallList " + std::to_string(GlyphList));
    }
    lines.push_back("glEnable GL_DEPTH_TEST");
    lines.push_back("glDisable GL_BLEND");
    return lines;
  }

  std::vector<kovrin::test::gltrace::Call> initCalls_;
  std::string initStderr_;
  std::vector<kovrin::test::gltrace::Call> printCalls_;
};

TEST_F(BitmapFontGl, InitLoadsTheFontAndCompilesTheGlyphSquare) {
  WriteFont(42, 42);
  InitRecorded();
  ASSERT_TRUE(GlyphSet.has_value()) << initStderr_;
  ASSERT_EQ(GlyphSet->names.size(), 42u);
  for (int glyph = 0; glyph < 42; ++glyph) EXPECT_NE(GlyphTexture(glyph), 0u) << "glyph " << glyph;
  EXPECT_EQ(GlyphList, ListBase + 1);
  EXPECT_TRUE(MessageBoxLines(initStderr_).empty()) << initStderr_;

  const std::vector<kovrin::test::gltrace::Call> square = kovrin::test::gltrace::FromLast(initCalls_, "glNewList");
  std::vector<std::string> lines;
  for (const kovrin::test::gltrace::Call& call : square) lines.push_back(call.Text());
  const std::vector<std::string> expected = {
      "glNewList " + std::to_string(ListBase + 1) + " GL_COMPILE",
      "glBegin GL_QUADS",
      "glTexCoord2f 0 0",
      "glVertex3f -1 -1 1",
      "glTexCoord2f 1 0",
      "glVertex3f 1 -1 1",
      "glTexCoord2f 1 1",
      "glVertex3f 1 1 1",
      "glTexCoord2f 0 1",
      "glVertex3f -1 1 1",
      "glEnd",
      "glEndList",
  };
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(glIsList(GlyphList), GL_TRUE);
  EXPECT_EQ(kovrin::test::gltrace::CallsNamed(initCalls_, "glNewList").size(), 1u) << "the square is compiled once";
  EXPECT_EQ(kovrin::test::gltrace::CallsNamed(initCalls_, "glGenTextures").size(), 42u);
}

struct PrintCase {
  const char* what;
  std::string text;
  std::vector<Step> steps;
};

TEST_F(BitmapFontGl, PrintIssuesTheBindsAndTranslationsOfTheTable) {
  WriteFont(42, 42);
  InitRecorded();
  ASSERT_TRUE(GlyphSet.has_value());
  const PrintCase cases[] = {
      {"abc", "abc", {{1.2f, 0}, {1.2f, 1}, {1.2f, 2}}},
      {"ABC", "ABC", {{1.2f, 0}, {1.2f, 1}, {1.2f, 2}}},
      {"O umlaut (0xD6) and l", "\xD6l", {{1.2f, 14}, {1.2f, 4}, {1.2f, 11}}},
      {"a_b", "a_b", {{1.2f, 0}, {1.3f, 41}, {0.1f, -1}, {1.2f, 1}}},
      {"x:y", "x:y", {{1.2f, 23}, {1.2f, 24}}},
      {"space", "a b", {{1.2f, 0}, {1.2f, -1}, {1.2f, 1}}},
      {"empty text", "", {}},
  };
  for (const PrintCase& c : cases) {
    EXPECT_EQ(PrintRecorded(c.text, -20.0f, -40.0f, 80.0f), ExpectedPrint(c.steps, -20.0f, -40.0f, 80.0f)) << c.what;
  }
  // The scenes' position puts the text at (-20, -40, -120).
  EXPECT_EQ(PrintRecorded("", -20.0f, -40.0f, 80.0f).at(1), "glTranslatef -20 -40 -120");
}

TEST_F(BitmapFontGl, PrintLeavesDepthTestOnAndBlendingOff) {
  WriteFont(42, 42);
  InitRecorded();
  for (const bool before : {false, true}) {
    if (before) {
      glEnable(GL_DEPTH_TEST);
      glEnable(GL_BLEND);
    } else {
      glDisable(GL_DEPTH_TEST);
      glDisable(GL_BLEND);
    }
    EXPECT_EQ(glPrint("abc", -20.0f, -40.0f, 80.0f), 1);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE) << "depth test was " << before << " before";
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE) << "blending was " << before << " before";
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_ONE);
    EXPECT_EQ(destination, GL_ONE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}

TEST_F(BitmapFontGl, WithoutFontGlyphsAreDrawnUntexturedAndKeepTheirPlace) {
  SetMessageBoxAnswer("yes");
  InitRecorded();
  EXPECT_FALSE(GlyphSet.has_value());
  const std::vector<std::string> boxes = MessageBoxLines(initStderr_);
  ASSERT_EQ(boxes.size(), 1u) << initStderr_;
  EXPECT_NE(boxes[0].find("Fehler beim Laden von default.fnt!\\nFortfahren?"), std::string::npos) << boxes[0];
  EXPECT_EQ(GlyphList, ListBase + 1) << "the glyph square is compiled without a font too";
  EXPECT_EQ(glIsList(GlyphList), GL_TRUE);

  const std::vector<std::string> lines = PrintRecorded("\xD6l a_b", 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(lines,
            ExpectedPrint({{1.2f, 14}, {1.2f, 4}, {1.2f, 11}, {1.2f, -1}, {1.2f, 0}, {1.3f, 41}, {0.1f, -1}, {1.2f, 1}},
                          0.0f, 0.0f, 0.0f));
  for (const std::string& line : lines) {
    if (line.rfind("glBindTexture", 0) == 0) {
      EXPECT_EQ(line, "glBindTexture GL_TEXTURE_2D 0");
    }
  }
  EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
}

TEST_F(BitmapFontGl, ShortFontBindsNothingBeyondItsEntries) {
  WriteFont(10, 10);
  InitRecorded();
  ASSERT_TRUE(GlyphSet.has_value());
  ASSERT_EQ(GlyphSet->names.size(), 10u);
  // Ö: glyphs 14 and 4, l: 11; only glyph 4 lies inside the set.
  const std::vector<std::string> lines = PrintRecorded("\xD6l_", 1.0f, 2.0f, 3.0f);
  EXPECT_EQ(lines, ExpectedPrint({{1.2f, 14}, {1.2f, 4}, {1.2f, 11}, {1.3f, 41}, {0.1f, -1}}, 1.0f, 2.0f, 3.0f));
  const std::vector<kovrin::test::gltrace::Call> binds =
      kovrin::test::gltrace::CallsNamed(printCalls_, "glBindTexture");
  ASSERT_EQ(binds.size(), 4u);
  EXPECT_EQ(binds[0].Int(1), 0);
  EXPECT_EQ(binds[1].Int(1), static_cast<int64_t>(GlyphSet->Entry(5)));
  EXPECT_NE(binds[1].Int(1), 0);
  EXPECT_EQ(binds[2].Int(1), 0);
  EXPECT_EQ(binds[3].Int(1), 0);
}

TEST_F(BitmapFontGl, GlyphWhoseImageFailedIsDrawnUntextured) {
  WriteFont(42, 42);
  std::filesystem::remove(dir_ / "data" / "g1.tex");
  InitRecorded();
  ASSERT_TRUE(GlyphSet.has_value());
  EXPECT_EQ(GlyphTexture(1), 0u);
  EXPECT_EQ(MessageBoxLines(initStderr_).size(), 1u) << initStderr_;
  const std::vector<std::string> lines = PrintRecorded("ab", 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(lines, ExpectedPrint({{1.2f, 0}, {1.2f, 1}}, 0.0f, 0.0f, 0.0f));
  const std::vector<kovrin::test::gltrace::Call> binds =
      kovrin::test::gltrace::CallsNamed(printCalls_, "glBindTexture");
  ASSERT_EQ(binds.size(), 2u);
  EXPECT_NE(binds[0].Int(1), 0);
  EXPECT_EQ(binds[1].Int(1), 0) << "glyph 1 has no image";
}

TEST_F(BitmapFontGl, ReleaseForgetsSetAndList) {
  WriteFont(42, 42);
  InitRecorded();
  ASSERT_TRUE(GlyphSet.has_value());
  glPrint_Release();
  EXPECT_FALSE(GlyphSet.has_value());
  EXPECT_EQ(GlyphList, 0u);
  // Printing after the release must not fail either.
  EXPECT_EQ(glPrint("abc", 0.0f, 0.0f, 0.0f), 1);
  EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
}

}  // namespace
}  // namespace kovrin::test::textures
