#include "launcher/core/score.h"

#include <array>
#include <charconv>
#include <cstddef>

namespace kovrin::launcher {

namespace {

// sum / n rounded to the nearest integer, ties to the even one, in integers
// so that no floating-point step can tip a tie.
int32_t RoundedMean(int64_t sum, int64_t n) {
  int64_t quotient = sum / n;
  int64_t remainder = sum % n;
  if (remainder < 0) {
    remainder += n;
    quotient -= 1;
  }
  if (2 * remainder > n || (2 * remainder == n && quotient % 2 != 0)) ++quotient;
  return static_cast<int32_t>(quotient);
}

}  // namespace

std::string FormatNumber(double value, std::string_view decimalSeparator) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value + 0.0, std::chars_format::general, 15);
  std::string text(buffer, error == std::errc{} ? end : buffer);
  if (text == "-0") text = "0";
  if (const std::size_t dot = text.find('.'); dot != std::string::npos) {
    text.replace(dot, 1, decimalSeparator);
  }
  return text;
}

std::string ScoreDisplayNumber(double mean, std::string_view decimalSeparator) {
  std::string text = FormatNumber(mean, decimalSeparator);
  const std::size_t separator = decimalSeparator.empty() ? std::string::npos : text.find(decimalSeparator);
  if (separator == std::string::npos) return text;
  const std::size_t digit = separator + decimalSeparator.size();
  if (digit >= text.size() || text[digit] == '0') {
    text.erase(separator);
  } else {
    text.erase(digit + 1);
  }
  if (text == "-0") text = "0";
  return text;
}

Score ComputeScore(const ResultsTable& table, std::string_view decimalSeparator) {
  std::array<int32_t, kFullBenchmark.size()> rates{};
  for (std::size_t i = 0; i < rates.size(); ++i) rates[i] = table.*kFullBenchmark[i].field;
  return ComputeScore(rates, decimalSeparator);
}

Score ComputeScore(std::span<const int32_t> rates, std::string_view decimalSeparator) {
  if (rates.empty()) return Score{0, ScoreDisplayNumber(0, decimalSeparator) + " fps"};
  int64_t sum = 0;
  for (const int32_t rate : rates) sum += rate;
  const auto n = static_cast<int64_t>(rates.size());
  const double mean = static_cast<double>(sum) / static_cast<double>(n);
  return Score{RoundedMean(sum, n), ScoreDisplayNumber(mean, decimalSeparator) + " fps"};
}

}  // namespace kovrin::launcher
