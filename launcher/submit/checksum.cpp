#include "launcher/submit/checksum.h"

namespace kovrin::submit {

double ChecksumGenerator::NextUniform() {
  // 2^32: every 32-bit output divided by it is exact in a double and below 1.
  constexpr double kRange = 4294967296.0;
  return static_cast<double>(engine_()) / kRange;
}

int ChecksumGenerator::NextDigit() { return static_cast<int>(NextUniform() * 10.0); }

ChecksumGenerator& LauncherChecksumGenerator() {
  static ChecksumGenerator generator;
  return generator;
}

std::string randnums(ChecksumGenerator& generator, std::int32_t result) {
  const std::string r = std::to_string(result);
  std::string s;
  for (int i = 1; i <= 40; ++i) {
    // Every round draws, also those that put a character of the result in
    // place of the digit, so the sequence does not depend on the result.
    const int d = generator.NextDigit();
    if (i == 3) {
      s += r[0];
    } else if (i == 9) {
      if (r.size() > 1) s += r[1];
    } else if (i == 27) {
      if (r.size() > 2) s += r[2];
    } else {
      s += static_cast<char>('0' + d);
    }
  }
  return s;
}

}  // namespace kovrin::submit
