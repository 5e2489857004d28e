// texture001: bevelled copper tiles alternating with verdigris brass vent plates.
#include "tools/assets/materials.h"

#include <algorithm>
#include <cmath>

#include "tools/assets/noise.h"
#include "tools/assets/portable_math.h"
#include "tools/assets/surface.h"

namespace kovrin::assets {

namespace {

constexpr int kSize = kMaterialSize;

// Signed distance from (x, y) to a horizontal capsule of half-length
// `half` and radius `radius` centred on the origin.
double CapsuleDistance(double x, double y, double half, double radius) {
  const double cx = std::clamp(x, -half, half);
  return Length(x - cx, y) - radius;
}

constexpr int kTile = 64;

struct TileSample {
  double height;
  Color albedo;
  double gloss;
};

double Rivets(double cx, double cy) {
  double h = 0.0;
  for (double sx : {-22.0, 22.0}) {
    for (double sy : {-22.0, 22.0}) {
      h = std::max(h, Dome(Length(cx - sx, cy - sy), 3.4));
    }
  }
  return 0.55 * h;
}

TileSample CopperTile(double cx, double cy, double u, double v, double tint) {
  const double r = Length(cx, cy);
  double h = 0.45 * Smoothstep(11.5, 8.5, r) - 0.4 * Bump(r - 19.0, 1.7) + Rivets(cx, cy);
  const double grime = 0.78 + 0.22 * Fbm(u, v, 8, 4, 11);
  const double polish = 0.92 + 0.08 * Cos(r * 0.9);  // lathe rings on the boss
  Color albedo = Color{0.80, 0.45, 0.25} * (tint * grime * (r < 11.0 ? polish : 1.0));
  return {h, albedo, 1.0};
}

TileSample BrassVentTile(double cx, double cy, double x, double y, double u, double v, double tint) {
  double h = Rivets(cx, cy);
  for (double slot : {-13.0, 0.0, 13.0}) {
    const double d = CapsuleDistance(cx, cy - slot, 15.0, 3.2);
    h -= 0.55 * Smoothstep(1.0, -1.0, d);
  }
  // Brushing: fine noise stretched along the rows.
  const double brush = 0.88 + 0.12 * ValueNoise(x / 64.0, y / 1.5, 4, 171, 23);
  const double patina = Smoothstep(0.56, 0.74, Fbm(u, v, 4, 5, 37));
  Color brass = Color{0.62, 0.50, 0.26} * (tint * brush);
  Color verdigris = Color{0.28, 0.56, 0.46} * (0.8 + 0.2 * brush);
  const bool inSlot = h < -0.2;
  Color albedo = MixColor(brass, verdigris, patina);
  if (inSlot) {
    albedo = albedo * 0.25;
  }
  return {h, albedo, 0.45 * (1.0 - patina)};
}

}  // namespace

Picture CopperTiles() {
  HeightField field(kSize, kSize);
  std::vector<Color> albedo(static_cast<size_t>(kSize) * kSize);
  std::vector<double> gloss(albedo.size());
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const int tx = x / kTile;
      const int ty = y / kTile;
      const double lx = (x % kTile) + 0.5;
      const double ly = (y % kTile) + 0.5;
      const double edge = std::min(std::min(lx, kTile - lx), std::min(ly, kTile - ly));
      const double plateau = Smoothstep(1.5, 7.0, edge);
      const double u = (x + 0.5) / kSize;
      const double v = (y + 0.5) / kSize;
      const double tint = 0.9 + 0.2 * HashUnit(static_cast<uint32_t>(tx), static_cast<uint32_t>(ty), 5);
      const TileSample s = ((tx + ty) % 2 == 0) ? CopperTile(lx - kTile / 2.0, ly - kTile / 2.0, u, v, tint)
                                                : BrassVentTile(lx - kTile / 2.0, ly - kTile / 2.0, x, y, u, v, tint);
      const size_t i = static_cast<size_t>(y) * kSize + static_cast<size_t>(x);
      field.At(x, y) = plateau * (1.0 + s.height);
      // The grooves between tiles are dark, dirty seams.
      albedo[i] = MixColor(Color{0.07, 0.05, 0.04}, s.albedo, Smoothstep(0.0, 0.6, plateau));
      gloss[i] = s.gloss * plateau;
    }
  }
  Picture picture(kSize, kSize);
  Lighting light;
  light.relief = 4.0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const size_t i = static_cast<size_t>(y) * kSize + static_cast<size_t>(x);
      picture.At(x, y) = ToRgb(ShadePixel(field, x, y, albedo[i], gloss[i], light));
    }
  }
  return picture;
}

}  // namespace kovrin::assets
