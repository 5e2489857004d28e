#include "tools/assets/surface.h"

#include <algorithm>
#include <cmath>

namespace kovrin::assets {

HeightField::HeightField(int w, int hgt)
    : width(w), height(hgt), h(static_cast<size_t>(w) * static_cast<size_t>(hgt), 0.0) {}

double& HeightField::At(int x, int y) {
  return h[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
}

double HeightField::At(int x, int y) const {
  const int wx = ((x % width) + width) % width;
  const int wy = ((y % height) + height) % height;
  return h[static_cast<size_t>(wy) * static_cast<size_t>(width) + static_cast<size_t>(wx)];
}

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

double Dome(double distance, double radius) {
  const double q = distance / radius;
  return q >= 1.0 ? 0.0 : std::sqrt(1.0 - q * q);
}

namespace {

struct Vec3 {
  double x, y, z;
};

Vec3 Normalised(Vec3 v) {
  const double len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x / len, v.y / len, v.z / len};
}

double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

}  // namespace

Color ShadePixel(const HeightField& field, int x, int y, Color albedo, double gloss, const Lighting& light) {
  // Screen coordinates: x to the right, y up, z towards the viewer; the
  // picture's rows run downwards.
  const double dx = (field.At(x + 1, y) - field.At(x - 1, y)) * 0.5 * light.relief;
  const double dy = (field.At(x, y - 1) - field.At(x, y + 1)) * 0.5 * light.relief;
  const Vec3 n = Normalised({-dx, -dy, 1.0});
  const Vec3 l = Normalised({-0.45, 0.55, 0.70});
  const Vec3 half = Normalised({l.x, l.y, l.z + 1.0});
  const double lambert = std::max(0.0, Dot(n, l));
  double highlight = std::max(0.0, Dot(n, half));
  for (int i = 0; i < light.shininess; ++i) {
    highlight *= highlight;
  }
  const double lit = light.ambient + light.diffuse * lambert;
  const double shine = light.specular * gloss * highlight;
  return albedo * lit + Color{shine, shine, shine};
}

}  // namespace kovrin::assets
