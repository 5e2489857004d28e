// Seeded, repeatable randomness: a hash for lattice noise and a small
// generator for placing things. Fixed seeds only, so every run paints the
// same pictures.
#pragma once

#include <cstdint>

namespace kovrin::assets {

uint32_t Hash3(uint32_t x, uint32_t y, uint32_t seed);
// Hash3 as a number in [0, 1).
double HashUnit(uint32_t x, uint32_t y, uint32_t seed);

// Smooth value noise in [0, 1) that repeats every periodX lattice cells
// along x and periodY along y; x and y are in lattice cells.
double ValueNoise(double x, double y, int periodX, int periodY, uint32_t seed);
// Sum of `octaves` noise layers, each twice the frequency and half the
// weight of the one before; u and v in [0, 1) cover `period` cells of the
// first layer, so the result tiles over the unit square. Result in [0, 1).
double Fbm(double u, double v, int period, int octaves, uint32_t seed);

// A tiny deterministic generator (splitmix64).
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t Next();
  // Uniform in [0, 1).
  double Unit();
  // Uniform integer in [lo, hi].
  int Range(int lo, int hi);

 private:
  uint64_t state_;
};

}  // namespace kovrin::assets
