#include "tests/textures/test_bmp.h"

#include <fstream>

namespace kovrin::test::textures {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

Picture PatternPicture(int width, int height, int seed) {
  Picture picture{width, height, {}};
  picture.rgb.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.rgb.push_back(static_cast<uint8_t>(seed * 40 + x * 7 + 1));
      picture.rgb.push_back(static_cast<uint8_t>(seed * 13 + y * 11 + 2));
      picture.rgb.push_back(static_cast<uint8_t>(seed * 29 + x * 3 + y * 5 + 3));
    }
  }
  return picture;
}

std::vector<uint8_t> EncodeBmp24(const Picture& picture) {
  const uint32_t stride = (static_cast<uint32_t>(picture.width) * 3 + 3) / 4 * 4;
  const uint32_t imageSize = stride * static_cast<uint32_t>(picture.height);
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 14 + 40 + imageSize);
  Put32(out, 0);
  Put32(out, 14 + 40);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(picture.width));
  Put32(out, static_cast<uint32_t>(picture.height));
  Put16(out, 1);   // planes
  Put16(out, 24);  // bits per pixel
  Put32(out, 0);   // uncompressed
  Put32(out, imageSize);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::size_t i =
          (static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) + static_cast<std::size_t>(x)) * 3;
      out.push_back(picture.rgb[i + 2]);
      out.push_back(picture.rgb[i + 1]);
      out.push_back(picture.rgb[i]);
    }
    for (uint32_t pad = static_cast<uint32_t>(picture.width) * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

bool WriteBmp(const std::string& path, const Picture& picture) {
  const std::vector<uint8_t> bytes = EncodeBmp24(picture);
  return WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

}  // namespace kovrin::test::textures
