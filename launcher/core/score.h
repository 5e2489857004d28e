// The overall score of the default benchmark and its display text.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "launcher/core/results_table.h"

namespace kovrin::launcher {

struct Score {
  int32_t result;     // the mean rounded to the nearest integer, ties to even
  std::string label;  // the mean cut to one decimal, then " fps"
};

// The score of the twelve frame rates in the table. The sum is taken in 64
// bits, so no set of 32-bit results can overflow it.
Score ComputeScore(const ResultsTable& table, std::string_view decimalSeparator);

// The same rule over any number of frame rates, for benchmarks made of other
// runs than the default twelve; no rates give 0 and "0 fps".
Score ComputeScore(std::span<const int32_t> rates, std::string_view decimalSeparator);

// A number as the launcher writes every number: at most 15 significant digits,
// no exponent for the values a score can take, the user's decimal separator.
std::string FormatNumber(double value, std::string_view decimalSeparator);

// The mean as the result label shows it: the whole integral part and at most
// one decimal digit, cut off rather than rounded, without a trailing zero
// decimal ("123.0833" shows as "123", "99.9166" as "99.9").
std::string ScoreDisplayNumber(double mean, std::string_view decimalSeparator);

}  // namespace kovrin::launcher
