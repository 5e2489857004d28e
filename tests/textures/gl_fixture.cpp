#include "tests/textures/gl_fixture.h"

#include <GL/gl.h>
#include <stdlib.h>

#include <sstream>

namespace kovrin::test::textures {

namespace fs = std::filesystem;

void GlFolderTest::SetUp() {
  SetMessageBoxAnswer("default");
  std::string error;
  context_ = kovrin::test::gltrace::GlTestContext::Create(32, 32, &error);
  ASSERT_NE(context_, nullptr) << "no GL context: " << error;
  scratch_.emplace();
  dir_ = scratch_->Path();
  fs::create_directory(dir_ / "data");
  previousDir_ = fs::current_path();
  fs::current_path(dir_);
}

void GlFolderTest::TearDown() {
  std::error_code ec;
  if (!previousDir_.empty()) fs::current_path(previousDir_, ec);
  scratch_.reset();
  context_.reset();
}

Picture GlFolderTest::AddTexture(const std::string& name, int width, int height, int seed) {
  Picture picture = PatternPicture(width, height, seed);
  EXPECT_TRUE(WriteBmp((dir_ / "data" / (name + ".tex")).string(), picture)) << name;
  return picture;
}

void GlFolderTest::AddFile(const std::string& relativePath, const std::string& bytes) {
  EXPECT_TRUE(WriteFile((dir_ / relativePath).string(), bytes)) << relativePath;
}

void GlFolderTest::SetMessageBoxAnswer(const char* answer) { setenv("KOVRIN_MSGBOX", answer, 1); }

UploadedTexture ReadTexture(uint32_t name) {
  UploadedTexture texture;
  GLint previous = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
  glBindTexture(GL_TEXTURE_2D, name);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &texture.width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &texture.height);
  if (texture.width > 0 && texture.height > 0) {
    texture.rgb.resize(static_cast<std::size_t>(texture.width) * static_cast<std::size_t>(texture.height) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texture.rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
  }
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
  return texture;
}

std::vector<std::string> MessageBoxLines(const std::string& stderrText) {
  std::vector<std::string> lines;
  std::istringstream in(stderrText);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("[msgbox]", 0) == 0) lines.push_back(line);
  }
  return lines;
}

}  // namespace kovrin::test::textures
