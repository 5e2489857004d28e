#include "tools/assets/picture.h"

#include <cmath>

namespace kovrin::assets {

Color operator+(Color a, Color b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Color operator*(Color a, double s) { return {a.r * s, a.g * s, a.b * s}; }
Color operator*(Color a, Color b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
Color MixColor(Color a, Color b, double t) { return a * (1.0 - t) + b * t; }
double Luma(Color c) { return (c.r + c.g + c.b) / 3.0; }

uint8_t ToByte(double channel) {
  const double v = std::floor(channel * 255.0 + 0.5);
  if (!(v > 0.0)) {
    return 0;
  }
  return v >= 255.0 ? uint8_t{255} : static_cast<uint8_t>(v);
}

Rgb ToRgb(Color c) { return {ToByte(c.r), ToByte(c.g), ToByte(c.b)}; }

Picture::Picture(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h)) {}

IndexedPicture::IndexedPicture(int w, int h)
    : width(w), height(h), indices(static_cast<size_t>(w) * static_cast<size_t>(h), 0) {}

}  // namespace kovrin::assets
