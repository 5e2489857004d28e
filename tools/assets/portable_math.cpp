#include "tools/assets/portable_math.h"

#include <cmath>

namespace kovrin::assets {

double Sin(double x) {
  // Reduce to [-pi, pi], then fold into [-pi/2, pi/2], where the Taylor
  // series to x^19 is exact to about 1e-15.
  const double turns = std::floor(x / (2.0 * kPi) + 0.5);
  double r = x - turns * (2.0 * kPi);
  if (r > kPi / 2.0) {
    r = kPi - r;
  } else if (r < -kPi / 2.0) {
    r = -kPi - r;
  }
  const double r2 = r * r;
  double sum = 1.0;
  for (int n = 19; n >= 3; n -= 2) {
    sum = 1.0 - sum * r2 / (static_cast<double>(n) * static_cast<double>(n - 1));
  }
  return r * sum;
}

double Cos(double x) { return Sin(x + kPi / 2.0); }

double Exp(double x) {
  if (x < -700.0) {
    return 0.0;
  }
  if (x > 700.0) {
    x = 700.0;
  }
  constexpr double kLn2 = 0.69314718055994530942;
  const double k = std::floor(x / kLn2 + 0.5);
  const double r = x - k * kLn2;  // |r| <= ln2 / 2
  double sum = 1.0;
  for (int n = 14; n >= 1; --n) {
    sum = 1.0 + sum * r / static_cast<double>(n);
  }
  return std::ldexp(sum, static_cast<int>(k));
}

double Clamp01(double x) { return x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x); }

double Mix(double a, double b, double t) { return a + (b - a) * t; }

double Smoothstep(double edge0, double edge1, double x) {
  const double t = Clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3.0 - 2.0 * t);
}

double Bump(double x, double width) {
  const double q = x / width;
  return Exp(-q * q);
}

}  // namespace kovrin::assets
