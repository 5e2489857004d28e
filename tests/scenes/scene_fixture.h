// Running the real test programs on data of the test's own making: solid
// colour textures, a font that prints nothing visible, and a preloaded probe
// that grabs a frame or ends the run after a few frames.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/program_runner.h"
#include "tests/support/scratch_folder.h"

namespace kovrin::test::scenes {

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
  bool operator==(const Rgb&) const = default;
};

std::string ToString(const Rgb& c);

// A 24-bit Windows bitmap of one colour, rows bottom first and padded to four
// bytes, as a paint program saves it.
std::string SolidBmp(int width, int height, const Rgb& colour);

// The tightly packed RGB bytes a decoder makes of SolidBmp.
std::vector<uint8_t> SolidPixels(int width, int height, const Rgb& colour);

inline constexpr int kTextureSide = 4;

struct NamedTexture {
  std::string name;  // data/<name>.tex
  Rgb colour;
};

// A scratch folder with data/<name>.tex for each texture (kTextureSide
// square) and a default.fnt whose 42 glyphs are black: the title is printed
// every frame as the programs do, but adds nothing to the picture. It goes
// with the object, however the test using it ends.
class RunFolder {
 public:
  explicit RunFolder(const std::vector<NamedTexture>& textures);
  const std::string& Path() const { return path_; }

 private:
  kovrin::test::ScratchFolder folder_;
  std::string path_ = folder_.String();
};

// Options for a run of `program` in `folder` (a RunFolder) with the
// probe preloaded; the run ends after `frames` frames.
kovrin::test::RunOptions ProbeRun(const std::string& program, const std::string& folder, int width, int height,
                                  int frames);

// Adds the GL call recorder in front of the probe, recording `frames` frames
// into `traceFile`.
void AddRecorder(kovrin::test::RunOptions& options, const std::string& traceFile, int frames);

// Asks the probe for a picture of frame `frame` in `ppmFile`.
void AddFrameGrab(kovrin::test::RunOptions& options, const std::string& ppmFile, int frame);

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // top row first

  // Column x, row y counted from the bottom, as the GL counts.
  const Rgb& At(int x, int yFromBottom) const {
    return pixels[static_cast<std::size_t>(height - 1 - yFromBottom) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

std::optional<Picture> ReadPpm(const std::string& path);

// The angle a program holds after `frames` steps, added up in single
// precision one step per frame as the program does it.
float AngleAfter(int frames, float step);

}  // namespace kovrin::test::scenes
