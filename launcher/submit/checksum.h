// The checksum string that travels with a submitted result.
//
// 37 pseudo-random digits with the first characters of the score's decimal
// text woven in at positions 3, 9 and 27. The generator is never seeded from
// the clock: every launcher run draws the same sequence, and each checksum in
// a run continues where the previous one stopped.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace kovrin::submit {

// Uniform numbers in [0, 1) from a fixed start state.
//
// The engine is the standard's 32-bit Mersenne Twister with its default seed
// (5489), which every standard library produces bit for bit. The mapping to
// [0, 1) is written out here, u = x / 2^32 for each 32-bit output x, because
// std::uniform_real_distribution and std::generate_canonical differ between
// standard libraries (and may even return 1.0); this way the digits are the
// same with every compiler.
class ChecksumGenerator {
 public:
  static constexpr std::uint32_t kSeed = std::mt19937::default_seed;

  double NextUniform();
  // The digit of one draw: the integer part of u x 10.
  int NextDigit();

 private:
  std::mt19937 engine_{kSeed};
};

// The generator the launcher's submission window draws from: one per process,
// in its start state when the launcher starts.
ChecksumGenerator& LauncherChecksumGenerator();

// The checksum string for `result`: 40 rounds, each of which draws one digit;
// round 3 puts the 1st character of the result's decimal text in its place,
// rounds 9 and 27 the 2nd and 3rd when there are that many, every other round
// its digit. 38, 39 or 40 characters long.
std::string randnums(ChecksumGenerator& generator, std::int32_t result);

}  // namespace kovrin::submit
