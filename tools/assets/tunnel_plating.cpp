// texture003: dark steel plating with cyan light strips, for the tunnel.
#include "tools/assets/materials.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/assets/noise.h"
#include "tools/assets/portable_math.h"
#include "tools/assets/surface.h"

namespace kovrin::assets {

namespace {

constexpr int kSize = kMaterialSize;

struct PlateSample {
  double height;
  Color albedo;
  double gloss;
  Color glow;  // emitted, added after lighting
};

// Bolts along the middle of the frame, every 32 pixels between the corners.
double FrameBolt(double px, double py) {
  const double along = std::abs(px - kSize / 2.0) > std::abs(py - kSize / 2.0) ? py : px;
  const double across = std::min(std::min(px, kSize - px), std::min(py, kSize - py));
  const double nearest = std::floor(along / 32.0) * 32.0 + 16.0;
  if (nearest < 32.0 || nearest > kSize - 32.0) {
    return 0.0;
  }
  return Dome(Length(along - nearest, across - 9.0), 2.6);
}

// Distances are measured from the picture's edge inwards, so every face of
// a tunnel cube shows the same frame around its border.
PlateSample PlateAt(int x, int y) {
  const double px = x + 0.5, py = y + 0.5;
  const double edge = std::min(std::min(px, kSize - px), std::min(py, kSize - py));
  const double u = px / kSize, v = py / kSize;
  const double grime = 0.65 + 0.35 * Fbm(u, v, 4, 5, 91);
  PlateSample s{};
  // Outer frame, a channel holding the light strip, then the recessed panel.
  const double frame = Smoothstep(1.0, 4.0, edge) * Smoothstep(17.0, 14.0, edge);
  const double panel = 0.45 * Smoothstep(21.0, 25.0, edge);
  s.height = frame + panel + 0.5 * FrameBolt(px, py);
  // Four panels split by seams along the centre lines, ribbed across.
  const double seam = std::min(std::abs(px - kSize / 2.0), std::abs(py - kSize / 2.0));
  const double inPanel = Smoothstep(22.0, 26.0, edge);
  s.height -= 0.35 * inPanel * Smoothstep(3.0, 1.0, seam);
  const double rib = Bump(std::fmod(py, 12.0) - 6.0, 1.4);
  s.height += 0.12 * inPanel * rib * Smoothstep(2.5, 5.0, seam);
  const Color steel = Color{0.17, 0.20, 0.27} * grime;
  s.albedo = MixColor(Color{0.05, 0.06, 0.08}, steel, Smoothstep(0.0, 0.3, s.height + 0.2));
  s.gloss = 0.35 * grime;
  // The light strip in the channel, with a soft halo, and amber lamps in
  // the frame's corners.
  const double channel = edge - 19.5;
  const double strip = Bump(channel, 1.1) + 0.22 * Bump(channel, 4.5);
  const double cornerLamp = Bump(Length(std::min(px, kSize - px) - 9.0, std::min(py, kSize - py) - 9.0), 2.2);
  s.glow = Color{0.15, 0.62, 1.0} * (0.85 * strip) + Color{1.0, 0.55, 0.12} * (0.9 * cornerLamp);
  // The centre seams glow faintly, a second, dimmer light line.
  s.glow = s.glow + Color{0.10, 0.35, 0.65} * (0.35 * inPanel * Bump(seam, 1.0));
  return s;
}

}  // namespace

Picture TunnelPlating() {
  HeightField field(kSize, kSize);
  std::vector<PlateSample> samples;
  samples.reserve(static_cast<size_t>(kSize) * kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      samples.push_back(PlateAt(x, y));
      field.At(x, y) = samples.back().height;
    }
  }
  Picture picture(kSize, kSize);
  Lighting light;
  light.relief = 3.0;
  light.ambient = 0.3;
  light.specular = 0.3;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const PlateSample& s = samples[Index(x, y, kSize)];
      picture.At(x, y) = ToRgb(ShadePixel(field, x, y, s.albedo, s.gloss, light) + s.glow);
    }
  }
  return picture;
}

}  // namespace kovrin::assets
