// The overdraw program's first frames as recorded from the real program,
// against the stream the scene's tables call for, built here independently:
// every translation, rotation, bind and vertex in order.
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

using kovrin::test::scenes::Any;
using kovrin::test::scenes::E;
using kovrin::test::scenes::F;
using kovrin::test::scenes::I;
using kovrin::test::scenes::Stream;
using namespace kovrin::test::scenes::tables;

const char* const kTitle = "OpenGL: Overdraw Stress Test  320x240  32 bpp";

// Two frames of the real program on three solid-colour textures.
struct OverdrawProgram {
  static constexpr const char* kProgram = "Quillfire";
  static constexpr const char* kTexturePrefix = "texture00";
  static constexpr std::array<kovrin::test::scenes::Rgb, 3> kColours = {{{200, 40, 40}, {40, 200, 40}, {40, 40, 200}}};
  static constexpr int kWidth = 320;
  static constexpr int kHeight = 240;
};

void AppendCube(Stream& s) {
  s.push_back({"glBegin", {E(GL_QUADS)}});
  for (const CubeFace& face : kCube) {
    s.push_back({"glNormal3f", {F(face.n[0]), F(face.n[1]), F(face.n[2])}});
    for (const auto& v : face.v) {
      s.push_back({"glTexCoord2f", {F(v[0]), F(v[1])}});
      s.push_back({"glVertex3f", {F(v[2]), F(v[3]), F(v[4])}});
    }
  }
  s.push_back({"glEnd", {}});
}

// textures[k]: the GL name bound for entry k + 1.
Stream ExpectedFrame(int frame, const std::array<uint32_t, 3>& textures) {
  Stream s;
  s.push_back({"glClear", {E(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)}});
  for (const float z : kTunnelDepths) {
    s.push_back({"glLoadIdentity", {}});
    s.push_back({"glTranslatef", {F(0), F(0), F(z)}});
    s.push_back({"glBindTexture", {E(GL_TEXTURE_2D), I(textures[kTunnelEntry - 1])}});
    AppendCube(s);
  }
  for (const GridRow& row : kGrid) {
    const float angle = kovrin::test::scenes::AngleAfter(frame, kGridSteps[row.angle - 1]);
    s.push_back({"glLoadIdentity", {}});
    s.push_back({"glTranslatef", {F(row.x), F(row.y), F(row.z)}});
    s.push_back({"glRotatef", {F(angle), F(0), F(0), F(1)}});
    s.push_back({"glBindTexture", {E(GL_TEXTURE_2D), I(textures[static_cast<std::size_t>(row.entry - 1)])}});
    AppendCube(s);
  }
  const Stream title = kovrin::test::scenes::ExpectedTitle(kTitle);
  s.insert(s.end(), title.begin(), title.end());
  return s;
}

class OverdrawStream : public kovrin::test::scenes::RecordedProgramTest<OverdrawProgram> {};

TEST_F(OverdrawStream, FirstFrameIsTheTablesCallByCall) {
  const std::string difference = kovrin::test::scenes::FirstDifference(
      ExpectedFrame(1, Rec().textures), kovrin::test::scenes::FrameCalls(Rec().trace, 0));
  EXPECT_EQ(difference, "");
}

TEST_F(OverdrawStream, SecondFrameTurnsTheGridOneStepFurther) {
  const std::string difference = kovrin::test::scenes::FirstDifference(
      ExpectedFrame(2, Rec().textures), kovrin::test::scenes::FrameCalls(Rec().trace, 1));
  EXPECT_EQ(difference, "");
}

TEST_F(OverdrawStream, FirstFrameGridAnglesAreTheFirstSteps) {
  const auto rotations =
      kovrin::test::gltrace::CallsNamed(kovrin::test::scenes::FrameCalls(Rec().trace, 0), "glRotatef");
  ASSERT_EQ(rotations.size(), 32u);
  // Cubes 1 to 4 use angles 1 to 4.
  const float expected[4] = {0.1f, 0.2f, -0.1f, -0.4f};
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(rotations[k].Float(0), expected[k]) << "grid cube " << k + 1 << ": " << rotations[k].Text();
  }
}

TEST_F(OverdrawStream, EachFrameSubmits38CubesOf228QuadsAndOneText) {
  for (std::size_t frame = 0; frame < 2; ++frame) {
    const auto calls = kovrin::test::scenes::FrameCalls(Rec().trace, frame);
    const auto begins = kovrin::test::gltrace::CallsNamed(calls, "glBegin");
    EXPECT_EQ(begins.size(), 38u) << "frame " << frame + 1;
    for (const auto& b : begins) EXPECT_EQ(b.Enum(0), static_cast<uint32_t>(GL_QUADS)) << b.Text();
    EXPECT_EQ(kovrin::test::gltrace::CallsNamed(calls, "glEnd").size(), 38u) << "frame " << frame + 1;
    EXPECT_EQ(kovrin::test::gltrace::CallsNamed(calls, "glVertex3f").size(), 228u * 4u) << "frame " << frame + 1;
    EXPECT_EQ(kovrin::test::scenes::TitleOrigins(calls), 1)
        << "frame " << frame + 1 << ": the title is printed once per frame";
  }
}

TEST_F(OverdrawStream, FrameEndsWithDepthTestOnAndBlendingOff) { ExpectFramesEndWithDepthTestOnAndBlendingOff(); }

TEST(OverdrawWithoutImages, DrawsTheSameFramesUntextured) {
  // Each missing image is reported once by the decoder, at start-up.
  kovrin::test::scenes::ExpectUntexturedRun<OverdrawProgram>(3u, [](int frame) {
    return ExpectedFrame(frame, std::array<uint32_t, 3>{0, 0, 0});
  });
}

}  // namespace
