#include "tools/assets/noise.h"

#include <cmath>

namespace kovrin::assets {

uint32_t Hash3(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u ^ x * 0x85EBCA6Bu ^ (y + 0x632BE5ABu) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double HashUnit(uint32_t x, uint32_t y, uint32_t seed) { return static_cast<double>(Hash3(x, y, seed)) / 4294967296.0; }

namespace {

uint32_t Wrap(long cell, int period) {
  long m = cell % period;
  if (m < 0) {
    m += period;
  }
  return static_cast<uint32_t>(m);
}

double Fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

}  // namespace

double ValueNoise(double x, double y, int periodX, int periodY, uint32_t seed) {
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  const long ix = static_cast<long>(fx);
  const long iy = static_cast<long>(fy);
  const double tx = Fade(x - fx);
  const double ty = Fade(y - fy);
  const uint32_t x0 = Wrap(ix, periodX);
  const uint32_t x1 = Wrap(ix + 1, periodX);
  const uint32_t y0 = Wrap(iy, periodY);
  const uint32_t y1 = Wrap(iy + 1, periodY);
  const double a = HashUnit(x0, y0, seed);
  const double b = HashUnit(x1, y0, seed);
  const double c = HashUnit(x0, y1, seed);
  const double d = HashUnit(x1, y1, seed);
  const double top = a + (b - a) * tx;
  const double bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double Fbm(double u, double v, int period, int octaves, uint32_t seed) {
  double sum = 0.0;
  double weight = 0.5;
  double total = 0.0;
  int p = period;
  for (int i = 0; i < octaves; ++i) {
    sum += weight * ValueNoise(u * p, v * p, p, p, seed + static_cast<uint32_t>(i) * 101u);
    total += weight;
    weight *= 0.5;
    p *= 2;
  }
  return sum / total;
}

uint64_t Rng::Next() {
  state_ += 0x9E3779B97F4A7C15ull;
  uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Rng::Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }

int Rng::Range(int lo, int hi) {
  const uint64_t span = static_cast<uint64_t>(hi - lo) + 1u;
  return lo + static_cast<int>(Next() % span);
}

}  // namespace kovrin::assets
