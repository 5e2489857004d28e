// The result rule on arbitrary bytes: whatever results.fps holds, reading it
// must stay inside the text, and a value taken is never below zero.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "launcher/core/result_rule.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  for (const std::string_view separator : {".", ",", "\xC2\xA0"}) {
    const std::optional<int32_t> fps = kovrin::launcher::ResultFromFile(content, separator);
    if (fps && *fps < 0) __builtin_trap();
  }
  return 0;
}
