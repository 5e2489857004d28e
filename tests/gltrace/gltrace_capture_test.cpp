// The recorder linked into a test executable: each call is forwarded to the
// real GL and written in the documented line format.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/gltrace/gl_test_context.h"
#include "tests/gltrace/gltrace_capture.h"
#include "tests/gltrace/gltrace_format.h"
#include "tests/gltrace/gltrace_reader.h"

namespace {

class GltraceCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    context_ = kovrin::test::gltrace::GlTestContext::Create(16, 16, &error);
    ASSERT_NE(context_, nullptr) << "no GL context: " << error;
  }
  void TearDown() override {
    (void)kovrin::test::gltrace::StopCapture();
    context_.reset();
  }

  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t end = text.find('\n', start);
      lines.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    return lines;
  }

  std::unique_ptr<kovrin::test::gltrace::GlTestContext> context_;
};

TEST_F(GltraceCapture, WritesEachCallInTheLineFormat) {
  kovrin::test::gltrace::StartCapture();
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glBlendFunc(GL_ONE, GL_ONE);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glClearColor(0.0f, 0.25f, 0.5f, 1.0f);
  glClearDepth(1.0);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, 4.0 / 3.0, 0.0, 1000.0);
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(1.2f, -3.1f, 0.1f);
  glRotatef(-0.4f, 0.0f, 0.0f, 1.0f);
  glBegin(GL_QUADS);
  glNormal3f(0.0f, 0.0f, -1.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(-1.0f, -1.0f, 1.0f);
  glEnd();
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glViewport(0, 0, 640, 480);
  glCallList(7);
  glFinish();
  const std::vector<std::string> expected = {
      "glEnable GL_BLEND",
      "glDisable GL_DEPTH_TEST",
      "glBlendFunc GL_ONE GL_ONE",
      "glClear GL_COLOR_BUFFER_BIT|GL_DEPTH_BUFFER_BIT",
      "glClearColor 0 0.25 0.5 1",
      "glClearDepth 1",
      "glHint GL_PERSPECTIVE_CORRECTION_HINT GL_NICEST",
      "glMatrixMode GL_PROJECTION",
      "glLoadIdentity",
      "gluPerspective 45 1.3333333333333333 0 1000",
      "glMatrixMode GL_MODELVIEW",
      "glTranslatef 1.20000005 -3.0999999 0.100000001",
      "glRotatef -0.400000006 0 0 1",
      "glBegin GL_QUADS",
      "glNormal3f 0 0 -1",
      "glTexCoord2f 1 0",
      "glVertex3f -1 -1 1",
      "glEnd",
      "glTexParameteri GL_TEXTURE_2D GL_TEXTURE_MIN_FILTER GL_LINEAR",
      "glPixelStorei GL_UNPACK_ALIGNMENT 1",
      "glViewport 0 0 640 480",
      "glCallList 7",
      "glFinish",
  };
  EXPECT_EQ(Lines(kovrin::test::gltrace::StopCapture()), expected);
}

TEST_F(GltraceCapture, ForwardsToTheRealGl) {
  glDisable(GL_BLEND);
  kovrin::test::gltrace::StartCapture();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  (void)kovrin::test::gltrace::StopCapture();
  EXPECT_EQ(glIsEnabled(GL_BLEND), GL_TRUE) << "glEnable did not reach the GL";
  GLint source = 0;
  glGetIntegerv(GL_BLEND_SRC, &source);
  EXPECT_EQ(source, GL_SRC_ALPHA);
}

TEST_F(GltraceCapture, GeneratedNamesAreTheResults) {
  kovrin::test::gltrace::StartCapture();
  GLuint names[2] = {0, 0};
  glGenTextures(2, names);
  const GLuint list = glGenLists(2);
  glNewList(list + 1, GL_COMPILE);
  glEndList();
  const kovrin::test::gltrace::Trace trace = kovrin::test::gltrace::ParseTrace(kovrin::test::gltrace::StopCapture());
  ASSERT_EQ(trace.tail.size(), 4u);
  const kovrin::test::gltrace::Call& gen = trace.tail[0];
  EXPECT_EQ(gen.Text(), "glGenTextures 2 = " + std::to_string(names[0]) + " " + std::to_string(names[1]));
  EXPECT_NE(names[0], 0u);
  EXPECT_EQ(trace.tail[1].Text(), "glGenLists 2 = " + std::to_string(list));
  EXPECT_NE(list, 0u);
  EXPECT_EQ(trace.tail[2].Int(0), list + 1);
  EXPECT_EQ(trace.tail[2].Enum(1), static_cast<uint32_t>(GL_COMPILE));
}

TEST_F(GltraceCapture, PixelDigestIgnoresRowPadding) {
  // 3 x 2 RGB: rows of 9 bytes, padded to 12 under the default alignment.
  const std::vector<uint8_t> tight = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
  const std::vector<uint8_t> padded = {1,  2,  3,  4,  5,  6,  7,  8,  9,  0xEE, 0xEE, 0xEE,
                                       10, 11, 12, 13, 14, 15, 16, 17, 18, 0xEE, 0xEE, 0xEE};
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  kovrin::test::gltrace::StartCapture();
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 3, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, tight.data());
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 3, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, padded.data());
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 3, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 1, 1, 0, GL_RGB, GL_FLOAT, tight.data());
  const std::vector<kovrin::test::gltrace::Call> uploads = kovrin::test::gltrace::CallsNamed(
      kovrin::test::gltrace::ParseTrace(kovrin::test::gltrace::StopCapture()).tail, "glTexImage2D");
  ASSERT_EQ(uploads.size(), 4u);
  char digest[16];
  std::snprintf(digest, sizeof digest, "px:%08X", kovrin::test::gltrace::DigestOf(tight));
  EXPECT_EQ(uploads[0].Text(),
            std::string("glTexImage2D GL_TEXTURE_2D 0 GL_RGB8 3 2 0 GL_RGB GL_UNSIGNED_BYTE ") + digest);
  EXPECT_EQ(uploads[1].args.back(), digest) << "padding bytes entered the digest";
  EXPECT_EQ(uploads[2].args.back(), "null");
  EXPECT_EQ(uploads[3].args.back(), "px:?");
  glDeleteTextures(1, &texture);
}

TEST_F(GltraceCapture, UnknownEnumsAreHex) {
  kovrin::test::gltrace::StartCapture();
  glEnable(0x1234);
  glClear(0x8000 | GL_DEPTH_BUFFER_BIT);
  glClear(0);
  const std::string text = kovrin::test::gltrace::StopCapture();
  while (glGetError() != GL_NO_ERROR) {
  }
  EXPECT_EQ(Lines(text),
            (std::vector<std::string>{"glEnable 0x1234", "glClear GL_DEPTH_BUFFER_BIT|0x8000", "glClear 0"}));
}

TEST_F(GltraceCapture, RecordsOnlyWhileCapturingAndCountsSwaps) {
  glLoadIdentity();
  kovrin::test::gltrace::StartCapture();
  glTranslatef(1.0f, 0.0f, 0.0f);
  context_->Swap();
  glTranslatef(2.0f, 0.0f, 0.0f);
  context_->Swap();
  glTranslatef(3.0f, 0.0f, 0.0f);
  const std::string text = kovrin::test::gltrace::StopCapture();
  glTranslatef(4.0f, 0.0f, 0.0f);
  EXPECT_EQ(kovrin::test::gltrace::StopCapture(), "") << "a stopped capture kept calls";
  EXPECT_EQ(Lines(text), (std::vector<std::string>{"glTranslatef 1 0 0", "SWAP 1", "glTranslatef 2 0 0", "SWAP 2",
                                                   "glTranslatef 3 0 0"}));
  const kovrin::test::gltrace::Trace trace = kovrin::test::gltrace::ParseTrace(text);
  ASSERT_EQ(trace.frames.size(), 2u);
  EXPECT_EQ(trace.frames[1].at(0).Float(0), 2.0f);
  EXPECT_EQ(trace.tail.at(0).Float(0), 3.0f);
}

}  // namespace
