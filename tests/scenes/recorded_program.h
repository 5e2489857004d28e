// A real program's first two frames, recorded on solid-colour textures of the
// test's making: once for a whole suite (the recording takes seconds), or
// once per test for a variant such as a run without images.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "tests/gltrace/gltrace_format.h"
#include "tests/scenes/call_stream.h"
#include "tests/scenes/scene_fixture.h"
#include "tests/support/program_runner.h"

namespace kovrin::test::scenes {

// Program names what is recorded, as static constexpr members: kProgram (the
// file in the run folder), kTexturePrefix (textures are <prefix>1 ... <prefix>N
// in the order of the scene's entries), kColours (one per texture), kWidth
// and kHeight.
template <typename Program>
inline constexpr std::size_t kTextureCount = std::tuple_size_v<decltype(Program::kColours)>;

template <typename Program>
struct Recording {
  kovrin::test::RunResult run;
  kovrin::test::gltrace::Trace trace;
  std::array<uint32_t, kTextureCount<Program>> textures{};  // textures[k]: the GL name of entry k + 1
};

// Two frames of the real program; withImages false leaves data/ empty, so
// that every image fails to load.
template <typename Program>
Recording<Program> Record(bool withImages) {
  std::vector<NamedTexture> textures;
  if (withImages) {
    for (std::size_t k = 0; k < kTextureCount<Program>; ++k) {
      textures.push_back({Program::kTexturePrefix + std::to_string(k + 1), Program::kColours[k]});
    }
  }
  TraceRecording recorded =
      RecordFrames(Program::kProgram, textures, {Program::kColours.begin(), Program::kColours.end()}, Program::kWidth,
                   Program::kHeight, 2);
  Recording<Program> r{std::move(recorded.run), std::move(recorded.trace), {}};
  std::copy_n(recorded.textures.begin(), r.textures.size(), r.textures.begin());
  return r;
}

// One recording with images for every test of the suite; each test starts
// only on a recording that ran, saw two frames and uploaded every texture.
template <typename Program>
class RecordedProgramTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { recording_.emplace(Record<Program>(true)); }
  static void TearDownTestSuite() { recording_.reset(); }
  void SetUp() override {
    ASSERT_EQ(recording_->run.exitCode, 0) << recording_->run.stdErr;
    ASSERT_GE(recording_->trace.frames.size(), 2u) << "the recorder saw fewer than two frames\n"
                                                   << recording_->run.stdErr;
    for (std::size_t k = 0; k < kTextureCount<Program>; ++k) {
      ASSERT_NE(recording_->textures[k], 0u)
          << "no upload of " << Program::kTexturePrefix << k + 1 << "'s pixels was recorded";
    }
  }
  static const Recording<Program>& Rec() { return *recording_; }

  // Both frames leave the depth test on and blending off, with the blend
  // function the title printed last set.
  static void ExpectFramesEndWithDepthTestOnAndBlendingOff() {
    for (std::size_t frame = 0; frame < 2; ++frame) {
      const TrackedState s = StateAfterFrame(Rec().trace, frame);
      EXPECT_TRUE(s.depthTest) << "frame " << frame + 1;
      EXPECT_FALSE(s.blend) << "frame " << frame + 1;
      EXPECT_EQ(s.blendSource, static_cast<uint32_t>(GL_ONE)) << "frame " << frame + 1;
      EXPECT_EQ(s.blendDestination, static_cast<uint32_t>(GL_ONE)) << "frame " << frame + 1;
    }
  }

 private:
  static inline std::optional<Recording<Program>> recording_;
};

// A run without images: it ends normally, every missing image was reported
// (`boxes` message box lines in all), and both frames are `expectedFrame(n)`
// drawn with no texture bound.
template <typename Program, typename ExpectedFrameOf>
void ExpectUntexturedRun(std::size_t boxes, ExpectedFrameOf expectedFrame) {
  const Recording<Program> r = Record<Program>(false);
  ASSERT_EQ(r.run.exitCode, 0) << r.run.stdErr;
  ASSERT_GE(r.trace.frames.size(), 2u) << r.run.stdErr;
  EXPECT_EQ(r.run.MsgBoxLines().size(), boxes) << r.run.stdErr;
  for (int frame = 1; frame <= 2; ++frame) {
    EXPECT_EQ(FirstDifference(expectedFrame(frame), FrameCalls(r.trace, static_cast<std::size_t>(frame - 1))), "")
        << "frame " << frame;
  }
  ASSERT_TRUE(r.run.resultsFps.has_value()) << "the run did not end normally";
}

}  // namespace kovrin::test::scenes
