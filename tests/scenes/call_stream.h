// The expected GL call stream of a frame, built by a test from its own copy of
// a scene's tables, and its comparison with a recorded frame call by call.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/gltrace/gltrace_reader.h"
#include "tests/scenes/scene_fixture.h"
#include "tests/support/program_runner.h"

namespace kovrin::test::scenes {

struct Arg {
  enum class Kind { Float, Enum, Int, Any };
  Kind kind = Kind::Any;
  float f = 0.0f;
  int64_t i = 0;
};

// Floats compare exactly: the recorder writes them so that they read back as
// the very float the program passed.
inline Arg F(float value) { return Arg{Arg::Kind::Float, value, 0}; }
inline Arg E(uint32_t value) { return Arg{Arg::Kind::Enum, 0.0f, value}; }
inline Arg I(int64_t value) { return Arg{Arg::Kind::Int, 0.0f, value}; }
inline Arg Any() { return Arg{}; }

struct ExpectedCall {
  std::string name;
  std::vector<Arg> args;
};

using Stream = std::vector<ExpectedCall>;

// Empty when the recorded calls are exactly the expected ones; otherwise a
// message naming the first difference (index, expected call, recorded call
// and its trace line).
std::string FirstDifference(const Stream& expected, const std::vector<kovrin::test::gltrace::Call>& recorded);

// The calls that print `title` at (-20, -40, 80), in the font's terms: the
// text origin, blending on and the depth test off, one advance per letter,
// digit or space and one glyph (bind and list call) per letter or digit, then
// the depth test on and blending off. Glyph textures and the list are the
// font's business and match anything here.
Stream ExpectedTitle(std::string_view title);

// The calls of frame `index` (0-based) of a program's trace, from its
// glClear to its end.
std::vector<kovrin::test::gltrace::Call> FrameCalls(const kovrin::test::gltrace::Trace& trace, std::size_t index);

// How often `calls` move to the title's text origin (-20, -40, -120): once
// in a frame that prints its title once.
int TitleOrigins(const std::vector<kovrin::test::gltrace::Call>& calls);

// The texture name each image was uploaded into, found by the digest of the
// uploaded pixels: result[k] for digests[k]; 0 when no upload matched.
std::vector<uint32_t> TexturesByPixels(const kovrin::test::gltrace::Trace& trace, const std::vector<uint32_t>& digests);

// `frames` frames of `program` recorded on the given solid-colour textures
// (an empty list leaves data/ empty), and the GL texture name each of
// `colours` was uploaded into (0 where none was).
struct TraceRecording {
  kovrin::test::RunResult run;
  kovrin::test::gltrace::Trace trace;
  std::vector<uint32_t> textures;
};
TraceRecording RecordFrames(const std::string& program, const std::vector<NamedTexture>& textures,
                            const std::vector<Rgb>& colours, int width, int height, int frames);

// Enable state as the calls up to the end of frame `index` leave it.
struct TrackedState {
  bool depthTest = false;
  bool blend = false;
  uint32_t blendSource = 1;       // GL_ONE
  uint32_t blendDestination = 0;  // GL_ZERO
};
TrackedState StateAfterFrame(const kovrin::test::gltrace::Trace& trace, std::size_t index);

}  // namespace kovrin::test::scenes
