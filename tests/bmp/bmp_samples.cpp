#include "tests/bmp/bmp_samples.h"

#include <stdexcept>
#include <string>

namespace kovrin::test::bmp {

namespace {

std::vector<Sample> MakeSamples() {
  std::vector<Sample> samples;
  BmpShape rgb24;
  rgb24.width = 3;
  rgb24.height = 2;
  rgb24.pixels = PackRows(24, {{1, 2, 3}, {4, 5, 6}});
  samples.push_back({"rgb24_file", rgb24});

  BmpShape pal8;
  pal8.fileHeader = false;
  pal8.width = 5;
  pal8.height = -2;
  pal8.bitsPerPixel = 8;
  pal8.colorsUsed = 16;
  pal8.palette = TestPalette(16);
  pal8.pixels = PackRows(8, {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}});
  samples.push_back({"pal8_bare_topdown", pal8});

  BmpShape core4;
  core4.headerSize = 12;
  core4.width = 3;
  core4.height = 3;
  core4.bitsPerPixel = 4;
  core4.palette = TestPalette(16);
  core4.gap = {0, 0, 0};
  core4.pixels = PackRows(4, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  samples.push_back({"core_pal4_file", core4});

  BmpShape pal1;
  pal1.headerSize = 12;
  pal1.fileHeader = false;
  pal1.width = 9;
  pal1.height = 2;
  pal1.bitsPerPixel = 1;
  pal1.palette = TestPalette(2);
  pal1.pixels = PackRows(1, {{1, 0, 1, 0, 1, 0, 1, 0, 1}, {0, 1, 0, 1, 0, 1, 0, 1, 0}});
  samples.push_back({"core_pal1_bare", pal1});

  BmpShape bf;
  bf.fileHeader = false;
  bf.width = 3;
  bf.height = 2;
  bf.bitsPerPixel = 16;
  bf.compression = kBiBitFields;
  bf.masks = {0xF800, 0x07E0, 0x001F};
  bf.pixels = PackRows(16, {{1, 2, 3}, {4, 5, 6}});
  samples.push_back({"bf565_bare", bf});

  BmpShape rgb32;
  rgb32.width = 2;
  rgb32.height = 2;
  rgb32.bitsPerPixel = 32;
  rgb32.pixels = PackRows(32, {{1, 2}, {3, 4}});
  samples.push_back({"rgb32_file", rgb32});

  BmpShape rle8;
  rle8.width = 4;
  rle8.height = 2;
  rle8.bitsPerPixel = 8;
  rle8.compression = kBiRle8;
  rle8.colorsUsed = 4;
  rle8.palette = TestPalette(4);
  rle8.pixels = {2, 1, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 0, 3, 2, 0, 1};  // run, absolute, line, delta
  samples.push_back({"rle8_file", rle8});

  BmpShape rle4 = rle8;
  rle4.fileHeader = false;
  rle4.bitsPerPixel = 4;
  rle4.compression = kBiRle4;
  rle4.pixels = {3, 0x12, 0, 0, 0, 3, 0x12, 0x30, 0, 1};
  samples.push_back({"rle4_bare", rle4});
  BmpShape rgb555;
  rgb555.width = 3;
  rgb555.height = -2;
  rgb555.bitsPerPixel = 16;
  rgb555.pixels = PackRows(16, {{0x7FFF, 0x001F, 0x03E0}, {0x7C00, 0x8000, 0x1234}});
  samples.push_back({"rgb555_topdown", rgb555});

  BmpShape bf32;
  bf32.width = 2;
  bf32.height = 1;
  bf32.bitsPerPixel = 32;
  bf32.compression = kBiBitFields;
  bf32.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  bf32.pixels = PackRows(32, {{0x11223344, 0x55667788}});
  samples.push_back({"bf32_file", bf32});
  return samples;
}

}  // namespace

const std::vector<Sample>& Samples() {
  static const std::vector<Sample> samples = MakeSamples();
  return samples;
}

const Sample& SampleNamed(std::string_view name) {
  for (const Sample& sample : Samples()) {
    if (name == sample.name) return sample;
  }
  throw std::out_of_range("no sample " + std::string(name));
}

}  // namespace kovrin::test::bmp
