// The title printed with the shipped font shows: on black scene textures the
// only light in the first frame is the text, in the band low in the picture
// where it is printed; with a font of black glyphs the frame stays black.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/scenes/scene_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 320;
constexpr int kHeight = 240;

std::vector<kovrin::test::scenes::NamedTexture> BlackTextures(const std::string& program) {
  std::vector<kovrin::test::scenes::NamedTexture> textures;
  if (program == "Quillfire") {
    for (const char* name : {"texture001", "texture002", "texture003"}) textures.push_back({name, {0, 0, 0}});
  } else {
    for (int i = 1; i <= 8; ++i) textures.push_back({"colorview00" + std::to_string(i), {0, 0, 0}});
  }
  return textures;
}

// Lit pixels of frame 1: in the whole picture and in its lowest fifth.
struct Light {
  int total = 0;
  int inLowBand = 0;
};

Light FirstFrameLight(const std::string& program, bool shippedFont) {
  const kovrin::test::scenes::RunFolder runFolder(BlackTextures(program));
  const std::string& folder = runFolder.Path();
  if (shippedFont) {
    const fs::path run(KOVRIN_RUN_DIR);
    fs::copy_file(run / "default.fnt", fs::path(folder) / "default.fnt", fs::copy_options::overwrite_existing);
    for (const auto& entry : fs::directory_iterator(run / "data")) {
      const fs::path target = fs::path(folder) / "data" / entry.path().filename();
      if (!fs::exists(target)) fs::copy_file(entry.path(), target);
    }
  }
  kovrin::test::RunOptions o = kovrin::test::scenes::ProbeRun(program, folder, kWidth, kHeight, 1);
  const std::string file = folder + "/frame.ppm";
  kovrin::test::scenes::AddFrameGrab(o, file, 1);
  const kovrin::test::RunResult r = kovrin::test::RunProgram(o);
  EXPECT_TRUE(r.MsgBoxLines().empty()) << r.stdErr;
  const auto picture = kovrin::test::scenes::ReadPpm(file);
  Light light;
  if (!picture) {
    ADD_FAILURE() << "no picture of frame 1\n" << r.stdErr;
    return light;
  }
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const kovrin::test::scenes::Rgb& c = picture->At(x, y);
      if (c.r + c.g + c.b < 96) continue;
      ++light.total;
      if (y < kHeight / 5) ++light.inLowBand;
    }
  }
  return light;
}

class TitleText : public testing::TestWithParam<const char*> {};

TEST_P(TitleText, ShowsInTheLowBandWithTheShippedFontOnly) {
  const Light without = FirstFrameLight(GetParam(), false);
  EXPECT_EQ(without.total, 0) << "black glyphs on black textures must leave the frame black";
  const Light with = FirstFrameLight(GetParam(), true);
  EXPECT_GT(with.total, 100) << "the title's glyphs should light a few hundred pixels";
  EXPECT_EQ(with.inLowBand, with.total) << "light outside the band where the title is printed";
}

INSTANTIATE_TEST_SUITE_P(Programs, TitleText, testing::Values("Quillfire", "Lumavane"),
                         [](const testing::TestParamInfo<const char*>& p) { return std::string(p.param); });

}  // namespace
