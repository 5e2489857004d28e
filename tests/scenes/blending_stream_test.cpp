// The blending program's first frames as recorded from the real program,
// against the stream its tables call for, built here independently.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "tests/gltrace/gltrace_format.h"
#include "tests/scenes/call_stream.h"
#include "tests/scenes/recorded_program.h"
#include "tests/scenes/scene_fixture.h"
#include "tests/scenes/scene_tables.h"

namespace {

using kovrin::test::scenes::E;
using kovrin::test::scenes::F;
using kovrin::test::scenes::I;
using kovrin::test::scenes::Stream;
using namespace kovrin::test::scenes::tables;

const char* const kTitle = "OpenGL: Alpha Blending Performance  320x240  32 bpp";

struct BlendingProgram {
  static constexpr const char* kProgram = "Lumavane";
  static constexpr const char* kTexturePrefix = "colorview00";
  static constexpr std::array<kovrin::test::scenes::Rgb, 8> kColours = {{{10, 20, 30},
                                                                         {40, 50, 60},
                                                                         {70, 80, 90},
                                                                         {100, 110, 120},
                                                                         {130, 140, 150},
                                                                         {160, 170, 180},
                                                                         {190, 200, 210},
                                                                         {220, 230, 240}}};
  static constexpr int kWidth = 320;
  static constexpr int kHeight = 240;
};

using Textures = std::array<uint32_t, 8>;

void AppendPanel(Stream& s) {
  s.push_back({"glBegin", {E(GL_QUADS)}});
  s.push_back({"glNormal3f", {F(0), F(0), F(1)}});
  s.push_back({"glTexCoord2f", {F(0), F(0)}});
  s.push_back({"glVertex3f", {F(-1), F(-1), F(1)}});
  s.push_back({"glTexCoord2f", {F(1), F(0)}});
  s.push_back({"glVertex3f", {F(1), F(-1), F(1)}});
  s.push_back({"glTexCoord2f", {F(1), F(1)}});
  s.push_back({"glVertex3f", {F(1), F(1), F(1)}});
  s.push_back({"glTexCoord2f", {F(0), F(1)}});
  s.push_back({"glVertex3f", {F(-1), F(1), F(1)}});
  s.push_back({"glEnd", {}});
}

kovrin::test::scenes::ExpectedCall Bind(const Textures& textures, int entry) {
  return {"glBindTexture", {E(GL_TEXTURE_2D), I(textures[static_cast<std::size_t>(entry - 1)])}};
}

Stream ExpectedFrame(int frame, const Textures& textures) {
  const float angle1 = kovrin::test::scenes::AngleAfter(frame, kAngle1Step);
  const float angle2 = kovrin::test::scenes::AngleAfter(frame, kAngle2Step);
  Stream s;
  s.push_back({"glClear", {E(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)}});
  s.push_back({"glLoadIdentity", {}});
  s.push_back(Bind(textures, kStillBackgroundEntry));
  s.push_back({"glTranslatef", {F(0), F(0), F(kBackgroundZ)}});
  AppendPanel(s);
  s.push_back({"glLoadIdentity", {}});
  s.push_back(Bind(textures, kTurningBackgroundEntry));
  s.push_back({"glTranslatef", {F(0), F(0), F(kBackgroundZ)}});
  s.push_back({"glRotatef", {F(angle2), F(0), F(0), F(1)}});
  AppendPanel(s);
  s.push_back({"glDisable", {E(GL_DEPTH_TEST)}});
  s.push_back({"glEnable", {E(GL_BLEND)}});
  for (const BlendedSquare& q : kSquares) {
    s.push_back({"glLoadIdentity", {}});
    s.push_back(Bind(textures, q.entry));
    s.push_back({"glTranslatef", {F(q.x), F(q.y), F(kSquareZ)}});
    s.push_back({"glRotatef", {F(angle1 + q.offset), F(0), F(0), F(1)}});
    AppendPanel(s);
  }
  s.push_back({"glDisable", {E(GL_BLEND)}});
  s.push_back({"glEnable", {E(GL_DEPTH_TEST)}});
  const Stream title = kovrin::test::scenes::ExpectedTitle(kTitle);
  s.insert(s.end(), title.begin(), title.end());
  return s;
}

class BlendingStream : public kovrin::test::scenes::RecordedProgramTest<BlendingProgram> {};

TEST_F(BlendingStream, FirstFrameIsTheTablesCallByCall) {
  EXPECT_EQ(kovrin::test::scenes::FirstDifference(ExpectedFrame(1, Rec().textures),
                                                  kovrin::test::scenes::FrameCalls(Rec().trace, 0)),
            "");
}

TEST_F(BlendingStream, SecondFrameTurnsEverySquareOneStepFurther) {
  EXPECT_EQ(kovrin::test::scenes::FirstDifference(ExpectedFrame(2, Rec().textures),
                                                  kovrin::test::scenes::FrameCalls(Rec().trace, 1)),
            "");
}

TEST_F(BlendingStream, FirstFrameAnglesAreAdvancedBeforeDrawing) {
  const auto rotations =
      kovrin::test::gltrace::CallsNamed(kovrin::test::scenes::FrameCalls(Rec().trace, 0), "glRotatef");
  ASSERT_EQ(rotations.size(), 9u);
  EXPECT_EQ(rotations[0].Float(0), -0.5f) << "turning background: " << rotations[0].Text();
  EXPECT_EQ(rotations[1].Float(0), 0.9f + 1.0f) << "square 1: " << rotations[1].Text();
  EXPECT_EQ(rotations[2].Float(0), 0.9f - 1.0f) << "square 2: " << rotations[2].Text();
  for (std::size_t k = 3; k < 9; ++k) EXPECT_EQ(rotations[k].Float(0), 0.9f) << rotations[k].Text();
}

TEST_F(BlendingStream, EachFrameSubmitsTenSquaresAndOneText) {
  for (std::size_t frame = 0; frame < 2; ++frame) {
    const auto calls = kovrin::test::scenes::FrameCalls(Rec().trace, frame);
    EXPECT_EQ(kovrin::test::gltrace::CallsNamed(calls, "glBegin").size(), 10u) << "frame " << frame + 1;
    EXPECT_EQ(kovrin::test::gltrace::CallsNamed(calls, "glEnd").size(), 10u) << "frame " << frame + 1;
    EXPECT_EQ(kovrin::test::gltrace::CallsNamed(calls, "glVertex3f").size(), 40u) << "frame " << frame + 1;
    EXPECT_EQ(kovrin::test::scenes::TitleOrigins(calls), 1) << "frame " << frame + 1;
  }
}

TEST_F(BlendingStream, EntriesThreeAndOneAreBoundTwiceTheOthersOnce) {
  const auto binds =
      kovrin::test::gltrace::CallsNamed(kovrin::test::scenes::FrameCalls(Rec().trace, 0), "glBindTexture");
  for (std::size_t k = 0; k < 8; ++k) {
    int count = 0;
    // Only the scene's binds: the title's glyphs come after the tenth.
    for (std::size_t b = 0; b < 10 && b < binds.size(); ++b) {
      if (static_cast<uint32_t>(binds[b].Int(1)) == Rec().textures[k]) ++count;
    }
    EXPECT_EQ(count, k == 0 || k == 2 ? 2 : 1) << "entry " << k + 1;
  }
}

TEST_F(BlendingStream, FrameEndsWithDepthTestOnAndBlendingOff) { ExpectFramesEndWithDepthTestOnAndBlendingOff(); }

TEST(BlendingWithoutImages, DrawsTheSameFramesUntextured) {
  kovrin::test::scenes::ExpectUntexturedRun<BlendingProgram>(
      8u, [](int frame) { return ExpectedFrame(frame, Textures{}); });
}

}  // namespace
