// Small Windows bitmaps for the texture tests: 24 bits, uncompressed, with the
// file header, rows bottom first and padded to four bytes as the format wants.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kovrin::test::textures {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // width * height * 3, bottom row first, no padding
};

// A picture whose every pixel differs from its neighbours, seeded so that two
// pictures of different seeds differ everywhere.
Picture PatternPicture(int width, int height, int seed);

std::vector<uint8_t> EncodeBmp24(const Picture& picture);

// Writes the picture as a bitmap file; false when the file cannot be written.
bool WriteBmp(const std::string& path, const Picture& picture);
bool WriteFile(const std::string& path, const std::string& bytes);

}  // namespace kovrin::test::textures
