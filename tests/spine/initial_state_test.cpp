// The state every frame starts from, queried from a real Mesa context right
// after the program's own start-up (built once per program: the scene source
// decides the one call in which the two differ).
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "framework/graphics.h"
#include "framework/program_profile.h"
#include "framework/settings_file.h"
#include "tests/support/program_runner.h"
#include "tests/support/scratch_folder.h"

using kovrin::framework::kProgram;
using kovrin::framework::ResetSettings;

namespace {

class AfterStartUp : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("KOVRIN_MSGBOX", "default", 1);
    folder_.emplace();
    const std::filesystem::path run(KOVRIN_RUN_DIR);
    std::filesystem::create_directory_symlink(run / "data", *folder_ / "data");
    std::filesystem::copy_file(run / "default.fnt", *folder_ / "default.fnt");
    std::ofstream(*folder_ / "config.cfg") << kovrin::test::ConfigText(320, 240, 32);
    std::filesystem::current_path(folder_->Path());
    ResetSettings(kProgram);
    LoadSettings();
    Graphics_Init();
  }
  static void TearDownTestSuite() {
    Graphics_Shutdown();
    std::filesystem::current_path("/");
    folder_.reset();
  }
  static std::optional<kovrin::test::ScratchFolder> folder_;
};
std::optional<kovrin::test::ScratchFolder> AfterStartUp::folder_;

GLint Integer(GLenum name) {
  GLint value = -1;
  glGetIntegerv(name, &value);
  return value;
}

TEST_F(AfterStartUp, CapabilitiesOnAndOff) {
  const std::pair<GLenum, bool> expected[] = {
      {GL_TEXTURE_2D, true},     {GL_DEPTH_TEST, true}, {GL_POINT_SMOOTH, true}, {GL_LINE_SMOOTH, true},
      {GL_POLYGON_SMOOTH, true}, {GL_BLEND, false},     {GL_LIGHTING, false},    {GL_FOG, false},
      {GL_CULL_FACE, false},     {GL_ALPHA_TEST, false}};
  for (const auto& [cap, on] : expected) {
    EXPECT_EQ(glIsEnabled(cap) == GL_TRUE, on) << "capability 0x" << std::hex << cap;
  }
}

TEST_F(AfterStartUp, DepthShadingClearAndHints) {
  EXPECT_EQ(Integer(GL_DEPTH_FUNC), GL_LEQUAL);
  EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_SMOOTH);
  GLfloat clear[4] = {-1, -1, -1, -1};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(clear[i], 0.0f) << "clear colour component " << i;
  GLdouble depth = -1;
  glGetDoublev(GL_DEPTH_CLEAR_VALUE, &depth);
  EXPECT_EQ(depth, 1.0);
  for (const GLenum hint :
       {GL_POINT_SMOOTH_HINT, GL_LINE_SMOOTH_HINT, GL_POLYGON_SMOOTH_HINT, GL_PERSPECTIVE_CORRECTION_HINT}) {
    EXPECT_EQ(Integer(hint), GL_NICEST) << "hint 0x" << std::hex << hint;
  }
  GLint env = -1;
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
  EXPECT_EQ(env, GL_MODULATE);
}

TEST_F(AfterStartUp, BlendFunctionIsAdditiveOnlyInTheBlendingTest) {
  const bool blendingTest = std::string(kProgram.initialTitle) == "Alpha Blending 0.01";
  EXPECT_EQ(Integer(GL_BLEND_SRC), GL_ONE);
  EXPECT_EQ(Integer(GL_BLEND_DST), blendingTest ? GL_ONE : GL_ZERO) << kProgram.initialTitle;
}

TEST_F(AfterStartUp, ViewportAndDisplayLists) {
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 320);
  EXPECT_EQ(viewport[3], 240);
  EXPECT_NE(ListBase, 0u);
  EXPECT_EQ(glIsList(ListBase + 1), GL_TRUE) << "the glyph square is compiled into the second list";
  EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);
}

}  // namespace
