#include "tools/assets/glows.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/assets/noise.h"
#include "tools/assets/portable_math.h"

namespace kovrin::assets {

namespace {

// Paints a picture from a function of the centred coordinates x, y in
// [-1, 1] (y up), multiplied by a fade that reaches black at the border.
Picture Paint(int size, const std::function<Color(double, double)>& shade) {
  Picture picture(size, size);
  for (int row = 0; row < size; ++row) {
    for (int col = 0; col < size; ++col) {
      const double x = (col + 0.5) / size * 2.0 - 1.0;
      const double y = 1.0 - (row + 0.5) / size * 2.0;
      const double edge = Smoothstep(1.0, 0.86, std::max(std::abs(x), std::abs(y)));
      picture.At(col, row) = ToRgb(shade(x, y) * edge);
    }
  }
  return picture;
}

double Radius(double x, double y) { return std::sqrt(x * x + y * y); }

// cos(n * angle) and sin(n * angle) of the point's polar angle, from
// powers of the unit complex number; no atan2 needed.
struct Angular {
  double c;
  double s;
};

Angular AngleMultiple(double x, double y, int n) {
  const double r = Radius(x, y);
  if (r == 0.0) {
    return {1.0, 0.0};
  }
  const double ux = x / r, uy = y / r;
  double c = 1.0, s = 0.0;
  for (int i = 0; i < n; ++i) {
    const double nc = c * ux - s * uy;
    s = c * uy + s * ux;
    c = nc;
  }
  return {c, s};
}

// Raised cosine 0..1 sharpened: larger powers give thinner bright lines.
double Peak(double cosine, int power) {
  double v = 0.5 + 0.5 * cosine;
  double out = 1.0;
  for (int i = 0; i < power; ++i) {
    out *= v;
  }
  return out;
}

struct Stop {
  double at;
  Color color;
};

Color Ramp(double t, std::initializer_list<Stop> stops) {
  const Stop* prev = stops.begin();
  if (t <= prev->at) {
    return prev->color;
  }
  for (const Stop* s = stops.begin() + 1; s != stops.end(); ++s) {
    if (t <= s->at) {
      return MixColor(prev->color, s->color, (t - prev->at) / (s->at - prev->at));
    }
    prev = s;
  }
  return prev->color;
}

}  // namespace

Picture VioletPlasma() {
  // Only the middle half is seen when it fills the view as the background,
  // so the swirls are small enough to show several there.
  return Paint(kBackdropSize, [](double x, double y) {
    const double r = Radius(x, y);
    const double v =
        Sin(x * 7.0 + 1.3) + Sin(y * 6.1 - 0.4) + Sin((x + y) * 5.3 + 0.7) + Sin(Radius(x - 0.3, y + 0.2) * 11.0);
    const double t = (v + 4.0) / 8.0;
    // Kept dark: every blended square is added on top of it.
    const Color c = Ramp(t, {{0.15, {0.02, 0.01, 0.08}},
                             {0.45, {0.14, 0.04, 0.32}},
                             {0.72, {0.42, 0.10, 0.48}},
                             {0.95, {0.30, 0.45, 0.75}}});
    return c * Smoothstep(1.05, 0.6, r);
  });
}

Picture OrangeRings() {
  return Paint(kGlowSize, [](double x, double y) {
    const double r = Radius(x, y);
    const double rings = Peak(Cos(r * 2.0 * kPi * 4.0), 4) * Smoothstep(0.95, 0.15, r);
    const double core = Bump(r, 0.2);
    return Color{1.0, 0.40, 0.05} * (0.75 * rings) + Color{1.0, 0.80, 0.45} * (0.85 * core);
  });
}

Picture CyanFlower() {
  return Paint(kGlowSize, [](double x, double y) {
    const double r = Radius(x, y);
    const Angular a6 = AngleMultiple(x, y, 6);
    // A six-petalled rose, |cos 3 angle| = sqrt((1 + cos 6 angle) / 2),
    // brighter towards the petal tips, over a small white-green heart.
    const double reach = 0.28 + 0.52 * std::sqrt(0.5 + 0.5 * a6.c);
    const double q = r / reach;
    const double petals = Smoothstep(1.0, 0.7, q) * (0.3 + 0.7 * q);
    const double heart = Bump(r, 0.12);
    const double halo = 0.2 * Bump(r, 0.6);
    return Color{0.05, 0.72, 0.90} * (0.75 * petals + halo) + Color{0.60, 1.0, 0.90} * (0.8 * heart);
  });
}

Picture GreenSpiral() {
  return Paint(kGlowSize, [](double x, double y) {
    const double r = Radius(x, y);
    const Angular a3 = AngleMultiple(x, y, 3);
    // cos(3 angle - 10 r): three arms winding outwards.
    const double phase = a3.c * Cos(10.0 * r) + a3.s * Sin(10.0 * r);
    const double arms = Peak(phase, 3) * Smoothstep(0.95, 0.25, r);
    const double core = Bump(r, 0.16);
    return Color{0.25, 0.95, 0.25} * (0.8 * arms) + Color{0.75, 1.0, 0.35} * (0.7 * core);
  });
}

IndexedPicture GoldStarburst() {
  IndexedPicture picture(kBackdropSize, kBackdropSize);
  for (int i = 0; i < 256; ++i) {
    const double t = i / 255.0;
    picture.palette.push_back(ToRgb(Ramp(
        t, {{0.0, {0.0, 0.0, 0.0}}, {0.35, {0.50, 0.22, 0.02}}, {0.75, {1.0, 0.70, 0.15}}, {1.0, {1.0, 0.96, 0.75}}})));
  }
  for (int row = 0; row < kBackdropSize; ++row) {
    for (int col = 0; col < kBackdropSize; ++col) {
      const double x = (col + 0.5) / kBackdropSize * 2.0 - 1.0;
      const double y = 1.0 - (row + 0.5) / kBackdropSize * 2.0;
      const double r = Radius(x, y);
      const double longRays = Peak(AngleMultiple(x, y, 4).c, 24);
      const double shortRays = Peak(AngleMultiple(x, y, 12).c, 6);
      const double rays = (0.8 * longRays * Exp(-2.2 * r) + 0.45 * shortRays * Exp(-4.0 * r));
      const double level = Bump(r, 0.13) + rays + 0.3 * Bump(r, 0.4);
      const double edge = Smoothstep(1.0, 0.86, std::max(std::abs(x), std::abs(y)));
      picture.At(col, row) = ToByte(Clamp01(level) * edge);
    }
  }
  return picture;
}

Picture MagentaBokeh() {
  struct Disc {
    double x, y, radius, strength;
    Color color;
  };
  std::vector<Disc> discs;
  Rng rng(0xB0CE);
  const Color hues[] = {{1.0, 0.18, 0.72}, {1.0, 0.45, 0.75}, {0.62, 0.20, 1.0}};
  for (int i = 0; i < 14; ++i) {
    // One disc per sector, so they spread around the middle.
    const double angle = (i + 0.8 * rng.Unit()) / 14.0 * 2.0 * kPi;
    const double dist = 0.15 + 0.5 * rng.Unit();
    discs.push_back({dist * Cos(angle), dist * Sin(angle), 0.10 + 0.18 * rng.Unit(), 0.25 + 0.25 * rng.Unit(),
                     hues[rng.Range(0, 2)]});
  }
  return Paint(kGlowSize, [discs](double x, double y) {
    Color sum{};
    for (const Disc& d : discs) {
      const double dist = Radius(x - d.x, y - d.y);
      const double body = Smoothstep(d.radius, d.radius - 0.025, dist);
      const double rim = 0.6 + 0.4 * Smoothstep(d.radius * 0.5, d.radius, dist);
      sum = sum + d.color * (d.strength * body * rim);
    }
    return sum * Smoothstep(1.0, 0.6, Radius(x, y));
  });
}

Picture BlueAurora() {
  return Paint(kGlowSize, [](double x, double y) {
    const Color tones[] = {{0.10, 0.25, 1.0}, {0.20, 0.55, 1.0}, {0.35, 0.30, 1.0}, {0.15, 0.45, 0.95}};
    Color sum{};
    for (int k = 0; k < 4; ++k) {
      const double centre = -0.48 + 0.32 * k + 0.12 * Sin(x * 3.0 + 1.7 * k) + 0.05 * Sin(x * 7.3 + k);
      const double band = Bump(y - centre, 0.045) + 0.35 * Bump(y - centre, 0.16);
      sum = sum + tones[k] * (0.55 * band);
    }
    return sum * Smoothstep(1.0, 0.45, Radius(x, y));
  });
}

Picture RedNebula() {
  struct Star {
    double x, y, strength;
  };
  std::vector<Star> stars;
  Rng rng(0x57A125);
  for (int i = 0; i < 18; ++i) {
    stars.push_back({rng.Unit() * 1.6 - 0.8, rng.Unit() * 1.6 - 0.8, 0.4 + 0.6 * rng.Unit()});
  }
  return Paint(kGlowSize, [stars](double x, double y) {
    const double r = Radius(x, y);
    const double n = Fbm(x * 0.5 + 0.5, y * 0.5 + 0.5, 4, 5, 313);
    const double cloud = Smoothstep(0.32, 0.78, n) * Smoothstep(0.95, 0.2, r);
    const double dense = Smoothstep(0.58, 0.85, n);
    Color c = MixColor(Color{0.90, 0.06, 0.16}, Color{1.0, 0.50, 0.15}, dense) * cloud;
    for (const Star& s : stars) {
      const double glint = s.strength * Bump(Radius(x - s.x, y - s.y), 0.018);
      c = c + Color{1.0, 0.85, 0.85} * glint;
    }
    return c;
  });
}

}  // namespace kovrin::assets
