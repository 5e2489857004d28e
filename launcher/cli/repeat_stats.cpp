#include "launcher/cli/repeat_stats.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kovrin::cli {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  if (values.size() % 2 != 0) return values[middle];
  return (values[middle - 1] + values[middle]) / 2;
}

int32_t IntegerMedian(std::vector<int32_t> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  if (values.size() % 2 != 0) return values[middle];
  // In 64 bits: the sum of two large results does not fit 32.
  const int64_t sum = int64_t{values[middle - 1]} + values[middle];
  const int64_t half = sum / 2;
  if (sum % 2 == 0) return static_cast<int32_t>(half);
  // Results are never negative, so the half lies between half and half + 1.
  return static_cast<int32_t>(half % 2 == 0 ? half : half + 1);
}

std::optional<RateRange> RangeOf(const std::vector<double>& rates) {
  if (rates.empty()) return std::nullopt;
  RateRange range;
  range.median = Median(rates);
  const auto [low, high] = std::minmax_element(rates.begin(), rates.end());
  range.min = *low;
  range.max = *high;
  const double width = range.max - range.min;
  if (width == 0) {
    range.spread = 0;
  } else if (range.median > 0) {
    range.spread = width / range.median;
  } else {
    range.spread = std::numeric_limits<double>::infinity();
  }
  range.unstable = range.spread > kUnstableSpread;
  return range;
}

std::string_view VerdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::Faster:
      return "faster";
    case Verdict::Slower:
      return "slower";
    case Verdict::WithinNoise:
      return "within noise";
  }
  return "within noise";
}

Verdict CompareRanges(const RateRange& base, int baseRepeats, const RateRange& next, int nextRepeats) {
  if (baseRepeats <= 1 && nextRepeats <= 1) {
    if (base.median == next.median) return Verdict::WithinNoise;
    // The tolerance keeps a ratio of exactly 1.03, which doubles cannot hold, on the side the rule says.
    if (base.median > 0 && std::fabs(next.median / base.median - 1) <= kSingleRunNoise + 1e-12) {
      return Verdict::WithinNoise;
    }
  } else if (base.min <= next.max && next.min <= base.max) {
    return Verdict::WithinNoise;
  }
  return next.median > base.median ? Verdict::Faster : Verdict::Slower;
}

}  // namespace kovrin::cli
