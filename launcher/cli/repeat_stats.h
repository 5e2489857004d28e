// What the repeats of one setting add up to, and how two results compare.
//
// A setting made N times is reported by the median of its N exact rates,
// with the lowest and the highest beside it: the median is not pulled by one
// run that a busy machine slowed down, and the range shows how far to trust
// it. The score stays the launcher's, taken from each setting's median
// integer result, so that a single-repeat benchmark scores exactly as the
// window does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin::cli {

// A setting whose range is wider than this share of its median is unstable:
// two runs of it may differ by more than the differences worth reporting.
inline constexpr double kUnstableSpread = 0.05;

// The median of the values; the mean of the middle two for an even count.
// The values must not be empty.
double Median(std::vector<double> values);

// The median of integer results as an integer: for an even count the mean of
// the middle two, a half rounded to the even neighbour, as a fractional
// result in results.fps is rounded. The values must not be empty.
int32_t IntegerMedian(std::vector<int32_t> values);

struct RateRange {
  double median = 0;
  double min = 0;
  double max = 0;
  // (max - min) / median; 0 for a single value, infinite for a median of 0
  // with a range.
  double spread = 0;
  bool unstable = false;
};

// Nullopt without values.
std::optional<RateRange> RangeOf(const std::vector<double>& rates);

// How a setting of a new result compares with the same setting of a base.
enum class Verdict { Faster, Slower, WithinNoise };
std::string_view VerdictName(Verdict verdict);

// With one repeat on each side the ranges say nothing about the noise, so a
// ratio within this share of 1 counts as noise.
inline constexpr double kSingleRunNoise = 0.03;

// Within noise when the ranges of the repeats overlap, or, with one repeat on
// each side, when the ratio of the medians is within 3 % of 1. Otherwise the
// ratio new / base decides.
Verdict CompareRanges(const RateRange& base, int baseRepeats, const RateRange& next, int nextRepeats);

}  // namespace kovrin::cli
