// A GL context and a scratch run folder with its own data/ for the texture and
// font tests; message boxes are answered unattended.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/gltrace/gl_test_context.h"
#include "tests/support/scratch_folder.h"
#include "tests/textures/test_bmp.h"

namespace kovrin::test::textures {

class GlFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes data/<name>.tex and remembers the picture.
  Picture AddTexture(const std::string& name, int width, int height, int seed);
  void AddFile(const std::string& relativePath, const std::string& bytes);

  static void SetMessageBoxAnswer(const char* answer);

  std::optional<kovrin::test::ScratchFolder> scratch_;
  std::filesystem::path dir_;
  std::filesystem::path previousDir_;
  std::unique_ptr<kovrin::test::gltrace::GlTestContext> context_;
};

// The GL's own view of a texture: size and level-0 pixels read back as RGB.
struct UploadedTexture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};
UploadedTexture ReadTexture(uint32_t name);

// Lines of text on stderr that a message box left.
std::vector<std::string> MessageBoxLines(const std::string& stderrText);

}  // namespace kovrin::test::textures
