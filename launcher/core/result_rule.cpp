#include "launcher/core/result_rule.h"

#include <cstdint>
#include <limits>
#include <string_view>

namespace kovrin::launcher {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view TakeDigits(std::string_view& text) {
  std::size_t n = 0;
  while (n < text.size() && IsDigit(text[n])) ++n;
  const std::string_view digits = text.substr(0, n);
  text.remove_prefix(n);
  return digits;
}

// The whole-number part; nullopt once it is certainly beyond 32 bits.
std::optional<int64_t> WholeValue(std::string_view digits) {
  int64_t value = 0;
  for (const char c : digits) {
    value = value * 10 + (c - '0');
    if (value > int64_t{1} << 32) return std::nullopt;
  }
  return value;
}

// Ties to even: a fraction above one half rounds up, exactly one half rounds
// up only from an odd whole number.
bool RoundsUp(std::string_view fraction, int64_t whole) {
  if (fraction.empty() || fraction[0] < '5') return false;
  if (fraction[0] > '5') return true;
  for (const char c : fraction.substr(1)) {
    if (c != '0') return true;
  }
  return whole % 2 != 0;
}

}  // namespace

std::optional<int32_t> ParseResultNumber(std::string_view text, std::string_view decimalSeparator) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const std::string_view whole = TakeDigits(text);
  std::string_view fraction;
  if (!decimalSeparator.empty() && text.starts_with(decimalSeparator)) {
    text.remove_prefix(decimalSeparator.size());
    fraction = TakeDigits(text);
  }
  if (!text.empty() || (whole.empty() && fraction.empty())) return std::nullopt;
  // A frame rate below zero is no measurement, whatever wrote it; "-0" is
  // still zero.
  if (negative && (whole.find_first_not_of('0') != std::string_view::npos ||
                   fraction.find_first_not_of('0') != std::string_view::npos)) {
    return std::nullopt;
  }

  std::optional<int64_t> value = WholeValue(whole);
  if (!value) return std::nullopt;
  if (RoundsUp(fraction, *value)) ++*value;
  if (*value > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(*value);
}

std::optional<int32_t> ResultFromFile(std::string_view content, std::string_view decimalSeparator) {
  const std::size_t lineEnd = content.find('\r');
  if (lineEnd == std::string_view::npos || content.substr(lineEnd, 2) != "\r\n") return std::nullopt;
  return ParseResultNumber(content.substr(0, lineEnd), decimalSeparator);
}

}  // namespace kovrin::launcher
