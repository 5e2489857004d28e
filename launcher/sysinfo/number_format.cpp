#include "launcher/sysinfo/number_format.h"

#include <charconv>

namespace kovrin::sysinfo {

std::string FormatNumber(double value) {
  if (value == 0) {
    value = 0;  // a negative zero prints like zero
  }
  // to_chars ignores the C and C++ locales, so a German desktop still gets "."
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
  std::string digits(text, result.ptr);
  return value < 0 ? digits : " " + digits;
}

}  // namespace kovrin::sysinfo
