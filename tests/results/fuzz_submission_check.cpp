// The score and checksum check on arbitrary texts: a shown score stands for
// one or two whole scores near it, the launcher's own checksum for each of
// them fits, and nothing that fits has another shape than the launcher's.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "launcher/submit/checksum.h"
#include "results/submission.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first line is the shown score, the rest a checksum.
  const std::size_t newline = input.find('\n');
  const std::string_view shown = input.substr(0, newline);
  const std::string_view checksum = newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);

  const std::vector<std::int32_t> results = kovrin::results::PossibleResults(shown);
  const std::optional<double> value = kovrin::results::ScoreValue(shown);
  Require(results.empty() != value.has_value());
  Require(results.size() <= 2);
  kovrin::submit::ChecksumGenerator generator;
  for (const std::int32_t result : results) {
    Require(std::fabs(result - *value) <= 1.0);
    Require(kovrin::results::ChecksumFits(kovrin::submit::randnums(generator, result), result));
  }
  for (const std::int32_t result : {0, 7, 42, 999, 1234}) {
    if (!kovrin::results::ChecksumFits(checksum, result)) continue;
    Require(checksum.size() >= 38 && checksum.size() <= 40);
    Require(checksum[2] == std::to_string(result)[0]);
  }
  return 0;
}
