// One frame of each real program on a headless context, with solid-colour
// textures, against the picture its drawing order implies. Every fragment
// lands at the same depth, so the last face drawn over a pixel decides it in
// the overdraw scene; in the blending scene the squares add to the opaque
// background and saturate.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <sstream>

#include "tests/scenes/picture_model.h"
#include "tests/scenes/scene_fixture.h"
#include "tests/scenes/scene_tables.h"

namespace {

using kovrin::test::scenes::Coverage;
using kovrin::test::scenes::Rgb;
using namespace kovrin::test::scenes::tables;

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kSampleStep = 2;
// Pixels this close to a projected edge depend on the rasteriser's rules.
constexpr double kEdgeMargin = 1.5;
// A modulated texel or an 8-bit sum may differ from the exact value by one
// step each way in the rasteriser's fixed-point arithmetic; two leaves room
// for both.
constexpr int kTolerance = 2;

struct Expected {
  Rgb colour;
  bool sure = true;
};

bool Close(const Rgb& a, const Rgb& b) {
  return std::abs(a.r - b.r) <= kTolerance && std::abs(a.g - b.g) <= kTolerance && std::abs(a.b - b.b) <= kTolerance;
}

Rgb Add(const Rgb& a, const Rgb& b) {
  return Rgb{std::min(255, a.r + b.r), std::min(255, a.g + b.g), std::min(255, a.b + b.b)};
}

kovrin::test::scenes::Picture Grab(const std::string& program,
                                   const std::vector<kovrin::test::scenes::NamedTexture>& textures, int frame) {
  const kovrin::test::scenes::RunFolder runFolder(textures);
  const std::string& folder = runFolder.Path();
  kovrin::test::RunOptions o = kovrin::test::scenes::ProbeRun(program, folder, kWidth, kHeight, frame);
  const std::string file = folder + "/frame.ppm";
  kovrin::test::scenes::AddFrameGrab(o, file, frame);
  const kovrin::test::RunResult r = kovrin::test::RunProgram(o);
  EXPECT_EQ(r.exitCode, 0) << r.stdErr;
  EXPECT_TRUE(r.MsgBoxLines().empty()) << r.stdErr;
  std::optional<kovrin::test::scenes::Picture> picture = kovrin::test::scenes::ReadPpm(file);
  if (!picture) {
    ADD_FAILURE() << "no picture of frame " << frame << " was written\n" << r.stdErr;
    return {};
  }
  return *picture;
}

struct Comparison {
  int checked = 0;
  int skipped = 0;
  int wrong = 0;
  std::string firstWrong;
};

Comparison Compare(const kovrin::test::scenes::Picture& picture,
                   const std::function<Expected(kovrin::test::scenes::Point2)>& expect) {
  Comparison c;
  for (int y = 0; y < picture.height; y += kSampleStep) {
    for (int x = 0; x < picture.width; x += kSampleStep) {
      const Expected e = expect({x + 0.5, y + 0.5});
      if (!e.sure) {
        ++c.skipped;
        continue;
      }
      ++c.checked;
      const Rgb& got = picture.At(x, y);
      if (Close(got, e.colour)) continue;
      if (c.wrong++ < 5) {
        std::ostringstream s;
        s << "  pixel (" << x << ", " << y << " from the bottom): expected " << kovrin::test::scenes::ToString(e.colour)
          << ", found " << kovrin::test::scenes::ToString(got) << "\n";
        c.firstWrong += s.str();
      }
    }
  }
  return c;
}

void ExpectPictureMatches(const kovrin::test::scenes::Picture& picture,
                          const std::function<Expected(kovrin::test::scenes::Point2)>& expect) {
  ASSERT_EQ(picture.width, kWidth);
  ASSERT_EQ(picture.height, kHeight);
  const Comparison c = Compare(picture, expect);
  EXPECT_EQ(c.wrong, 0) << c.wrong << " of " << c.checked << " checked pixels differ:\n" << c.firstWrong;
  // Most of the picture must be away from edges, or the check says little.
  EXPECT_GT(c.checked, 3 * c.skipped) << "checked " << c.checked << ", skipped " << c.skipped;
}

// ---- Overdraw --------------------------------------------------------------

const Rgb kOverdrawColours[3] = {{200, 40, 40}, {40, 200, 40}, {40, 40, 200}};

std::vector<kovrin::test::scenes::NamedTexture> OverdrawTextures() {
  return {
      {"texture001", kOverdrawColours[0]}, {"texture002", kOverdrawColours[1]}, {"texture003", kOverdrawColours[2]}};
}

struct PlacedCube {
  kovrin::test::scenes::Placement at;
  int entry;
};

std::vector<PlacedCube> OverdrawCubes(int frame) {
  std::vector<PlacedCube> cubes;
  for (const float z : kTunnelDepths) cubes.push_back({{0, 0, z, 0}, kTunnelEntry});
  for (const GridRow& row : kGrid) {
    const float angle = kovrin::test::scenes::AngleAfter(frame, kGridSteps[row.angle - 1]);
    cubes.push_back({{row.x, row.y, row.z, angle}, row.entry});
  }
  return cubes;
}

// The colour of the last face drawn over the point, found from the last face
// backwards; black where none is. Edges of faces drawn earlier than the one
// that shows do not matter.
Expected OverdrawPixel(const std::vector<PlacedCube>& cubes, kovrin::test::scenes::Point2 p) {
  const auto faces = kovrin::test::scenes::CubeFaces();
  for (auto cube = cubes.rbegin(); cube != cubes.rend(); ++cube) {
    for (auto face = faces.rbegin(); face != faces.rend(); ++face) {
      const Coverage c =
          kovrin::test::scenes::Cover(kovrin::test::scenes::ToWindow(*face, cube->at, kWidth, kHeight), p, kEdgeMargin);
      if (c == Coverage::Unsure) return Expected{{}, false};
      if (c == Coverage::Inside) return Expected{kOverdrawColours[cube->entry - 1], true};
    }
  }
  return Expected{Rgb{0, 0, 0}, true};
}

class OverdrawPicture : public testing::TestWithParam<int> {};

TEST_P(OverdrawPicture, IsDecidedByDrawingOrderAlone) {
  const int frame = GetParam();
  const kovrin::test::scenes::Picture picture = Grab("Quillfire", OverdrawTextures(), frame);
  const std::vector<PlacedCube> cubes = OverdrawCubes(frame);
  ExpectPictureMatches(picture, [&](kovrin::test::scenes::Point2 p) { return OverdrawPixel(cubes, p); });
}

TEST_P(OverdrawPicture, LastGridCubeCoversItsFootprint) {
  const int frame = GetParam();
  const kovrin::test::scenes::Picture picture = Grab("Quillfire", OverdrawTextures(), frame);
  ASSERT_EQ(picture.width, kWidth);
  const PlacedCube last = OverdrawCubes(frame).back();
  ASSERT_EQ(last.entry, 2);
  int inside = 0;
  int wrong = 0;
  for (int y = 0; y < kHeight; y += kSampleStep) {
    for (int x = 0; x < kWidth; x += kSampleStep) {
      bool covered = false;
      for (const kovrin::test::scenes::Quad3& face : kovrin::test::scenes::CubeFaces()) {
        const auto quad = kovrin::test::scenes::ToWindow(face, last.at, kWidth, kHeight);
        covered = covered || kovrin::test::scenes::Cover(quad, {x + 0.5, y + 0.5}, kEdgeMargin) == Coverage::Inside;
      }
      if (!covered) continue;
      ++inside;
      if (!Close(picture.At(x, y), kOverdrawColours[1])) {
        if (wrong++ < 5) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") of the last cube shows "
                        << kovrin::test::scenes::ToString(picture.At(x, y)) << ", expected texture002's "
                        << kovrin::test::scenes::ToString(kOverdrawColours[1]);
        }
      }
    }
  }
  // The last cube sits left of the centre, close in front: it fills about
  // half of the view.
  EXPECT_GT(inside, kWidth * kHeight / (kSampleStep * kSampleStep) / 3);
  EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Frames, OverdrawPicture, testing::Values(1, 6),
                         [](const testing::TestParamInfo<int>& p) { return "Frame" + std::to_string(p.param); });

// ---- Blending --------------------------------------------------------------

struct BlendingCase {
  const char* name;
  std::array<Rgb, 8> colours;  // entries 1 to 8
};

// Distinct colours that add up to well below white where two squares meet
// and beyond it in some channel where three or four do.
const BlendingCase kColoured{
    "Coloured",
    {{{30, 30, 30}, {120, 0, 0}, {0, 120, 0}, {0, 0, 120}, {90, 90, 0}, {0, 90, 90}, {90, 0, 90}, {60, 60, 60}}}};
// Entries 1 and 3 (the background, and squares 7 and 1) black, all others
// white: wherever white squares overlap, the sum stays white.
const BlendingCase kWhiteOnBlack{"WhiteOnBlack",
                                 {{{0, 0, 0},
                                   {255, 255, 255},
                                   {0, 0, 0},
                                   {255, 255, 255},
                                   {255, 255, 255},
                                   {255, 255, 255},
                                   {255, 255, 255},
                                   {255, 255, 255}}}};

struct BlendingModel {
  const std::array<Rgb, 8>& colours;
  int frame;
  int* saturated;  // counts expected pixels that clip in some channel
  int* layered;    // counts expected pixels with two or more squares, unclipped

  Expected operator()(kovrin::test::scenes::Point2 p) const {
    const float angle1 = kovrin::test::scenes::AngleAfter(frame, kAngle1Step);
    const float angle2 = kovrin::test::scenes::AngleAfter(frame, kAngle2Step);
    const kovrin::test::scenes::Placement backgrounds[2] = {{0, 0, kBackgroundZ, 0}, {0, 0, kBackgroundZ, angle2}};
    const int backgroundEntries[2] = {kStillBackgroundEntry, kTurningBackgroundEntry};
    Rgb colour{0, 0, 0};
    for (int k = 0; k < 2; ++k) {
      const Coverage c = kovrin::test::scenes::Cover(
          kovrin::test::scenes::ToWindow(kovrin::test::scenes::FrontSquare(), backgrounds[k], kWidth, kHeight), p,
          kEdgeMargin);
      if (c == Coverage::Unsure) return Expected{{}, false};
      if (c == Coverage::Inside) colour = colours[static_cast<std::size_t>(backgroundEntries[k] - 1)];
    }
    int layers = 0;
    int r = colour.r, g = colour.g, b = colour.b;
    for (const BlendedSquare& q : kSquares) {
      const kovrin::test::scenes::Placement at{q.x, q.y, kSquareZ, angle1 + q.offset};
      const Coverage c = kovrin::test::scenes::Cover(
          kovrin::test::scenes::ToWindow(kovrin::test::scenes::FrontSquare(), at, kWidth, kHeight), p, kEdgeMargin);
      if (c == Coverage::Unsure) return Expected{{}, false};
      if (c != Coverage::Inside) continue;
      const Rgb& add = colours[static_cast<std::size_t>(q.entry - 1)];
      r += add.r;
      g += add.g;
      b += add.b;
      ++layers;
    }
    if (std::max({r, g, b}) > 255) {
      ++*saturated;
    } else if (layers >= 2) {
      ++*layered;
    }
    colour = Add(Rgb{0, 0, 0}, Rgb{r, g, b});
    return Expected{colour, true};
  }
};

std::vector<kovrin::test::scenes::NamedTexture> BlendingTextures(const BlendingCase& c) {
  std::vector<kovrin::test::scenes::NamedTexture> textures;
  for (std::size_t k = 0; k < 8; ++k) textures.push_back({"colorview00" + std::to_string(k + 1), c.colours[k]});
  return textures;
}

struct BlendingParam {
  const BlendingCase* colours;
  int frame;
};

void PrintTo(const BlendingParam& p, std::ostream* os) { *os << p.colours->name << " textures, frame " << p.frame; }

class BlendingPicture : public testing::TestWithParam<BlendingParam> {};

TEST_P(BlendingPicture, SquaresAddUpOverTheBackgroundAndSaturate) {
  const BlendingParam param = GetParam();
  const kovrin::test::scenes::Picture picture = Grab("Lumavane", BlendingTextures(*param.colours), param.frame);
  int saturated = 0;
  int layered = 0;
  ExpectPictureMatches(picture, BlendingModel{param.colours->colours, param.frame, &saturated, &layered});
  // The colours are chosen so that both kinds of pixel occur and are checked.
  EXPECT_GT(saturated, 0) << "no checked pixel adds up beyond white";
  if (param.colours == &kColoured) {
    EXPECT_GT(layered, 0) << "no checked pixel shows two squares unclipped";
  }
}

INSTANTIATE_TEST_SUITE_P(ColoursAndFrames, BlendingPicture,
                         testing::Values(BlendingParam{&kColoured, 1}, BlendingParam{&kColoured, 6},
                                         BlendingParam{&kWhiteOnBlack, 1}),
                         [](const testing::TestParamInfo<BlendingParam>& p) {
                           return std::string(p.param.colours->name) + "Frame" + std::to_string(p.param.frame);
                         });

}  // namespace
