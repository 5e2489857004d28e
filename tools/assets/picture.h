// In-memory pictures the generator paints before they are encoded as BMP.
// Rows are stored top row first, as a person reads a picture; the BMP
// writer turns them over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kovrin::assets {

// A colour in working precision, 0.0 = black, 1.0 = full channel.
struct Color {
  double r = 0.0;
  double g = 0.0;
  double b = 0.0;
};

Color operator+(Color a, Color b);
Color operator*(Color a, double s);
Color operator*(Color a, Color b);
Color MixColor(Color a, Color b, double t);
// Mean of the three channels.
double Luma(Color c);

// Position of pixel (x, y) in a row-major buffer of the given width.
inline std::size_t Index(int x, int y, int width) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
}

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

// Rounds to the nearest 8-bit value and clamps to 0..255.
uint8_t ToByte(double channel);
Rgb ToRgb(Color c);

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // width * height, top row first

  Picture(int w, int h);
  Rgb& At(int x, int y) { return pixels[Index(x, y, width)]; }
  const Rgb& At(int x, int y) const { return pixels[Index(x, y, width)]; }
};

// A palettised picture: one index per pixel into the palette.
struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indices;  // width * height, top row first
  std::vector<Rgb> palette;

  IndexedPicture(int w, int h);
  uint8_t& At(int x, int y) { return indices[Index(x, y, width)]; }
  uint8_t At(int x, int y) const { return indices[Index(x, y, width)]; }
};

}  // namespace kovrin::assets
