// Shared checks of the decoder tests.
#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "framework/bmp_decoder.h"
#include "tests/bmp/bmp_builder.h"

// Lets failed comparisons name the category instead of dumping bytes.
inline void PrintTo(kovrin::framework::BmpError error, std::ostream* out);

namespace kovrin::test::bmp {

// Parameter tables print their case names.
template <class Case>
auto PrintTo(const Case& c, std::ostream* out) -> decltype(c.name, void()) {
  *out << c.name;
}

inline kovrin::framework::BmpResult Decode(const std::vector<uint8_t>& file) {
  return kovrin::framework::DecodeBmp(std::span<const uint8_t>(file.data(), file.size()));
}

inline const char* ErrorName(kovrin::framework::BmpError error) {
  switch (error) {
    case kovrin::framework::BmpError::None:
      return "None";
    case kovrin::framework::BmpError::OpenFailed:
      return "OpenFailed";
    case kovrin::framework::BmpError::UnknownFormat:
      return "UnknownFormat";
    case kovrin::framework::BmpError::OutOfMemory:
      return "OutOfMemory";
    case kovrin::framework::BmpError::ConversionError:
      return "ConversionError";
  }
  return "?";
}

inline Rgb PixelAt(const ImageRecord& image, int x, int rowFromBottom) {
  const uint8_t* p = image.pixels.get() + (static_cast<size_t>(rowFromBottom) * image.width + x) * 3;
  return {p[0], p[1], p[2]};
}

// expected holds width * height colours, bottom row first.
inline ::testing::AssertionResult SamePixels(const ImageRecord& image, int width, int height,
                                             const std::vector<Rgb>& expected) {
  if (image.width != width || image.height != height) {
    return ::testing::AssertionFailure() << "expected a " << width << " x " << height << " picture, got " << image.width
                                         << " x " << image.height;
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb want = expected[static_cast<size_t>(y * width + x)];
      const Rgb got = PixelAt(image, x, y);
      if (!(want == got)) {
        return ::testing::AssertionFailure()
               << "pixel x=" << x << " row from bottom=" << y << ": expected " << want << ", got " << got;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace kovrin::test::bmp

inline void PrintTo(kovrin::framework::BmpError error, std::ostream* out) {
  *out << kovrin::test::bmp::ErrorName(error);
}
