// A small, separate BMP reader for the generator's tests: it reads the
// header fields back and decodes the layouts the generator writes, so the
// tests compare what a decoder sees with what was painted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assets/picture.h"

namespace kovrin::assets {

struct ReferenceBmp {
  uint32_t fileSizeField = 0;
  uint32_t pixelOffset = 0;
  uint32_t headerSize = 0;
  int32_t width = 0;
  int32_t height = 0;
  int bitsPerPixel = 0;
  uint32_t compression = 0;
  uint32_t imageSize = 0;
  uint32_t colorsUsed = 0;
  std::vector<kovrin::assets::Rgb> table;
  int rleEndRow = -1;                       // RLE8: the row the end-of-bitmap escape was met in
  std::vector<uint8_t> indices;             // palettised files: width * height, top row first
  std::vector<kovrin::assets::Rgb> pixels;  // every file: width * height, top row first
};

// Decodes, or returns an error text in `error` and an empty result.
ReferenceBmp ReadReferenceBmp(const std::vector<uint8_t>& file, std::string& error);

}  // namespace kovrin::assets
