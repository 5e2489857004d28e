// The system report's text parsers on arbitrary bytes: /proc/meminfo, a
// connector's mode name and a render node's path. Whatever they take must be
// what the text says, nothing read past its end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "launcher/sysinfo/adapter_plan.h"
#include "launcher/sysinfo/sysfs_facts.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kovrin::sysinfo;
  const std::string text(reinterpret_cast<const char*>(data), size);

  if (const auto bytes = ParseMemAvailable(text)) {
    Require(*bytes % 1024 == 0);
    Require(text.find("MemAvailable:") != std::string::npos);
  }

  if (const auto mode = ParseKernelModeName(text)) {
    std::string_view name = Trimmed(text);
    if (!name.empty() && name.back() == 'i') name.remove_suffix(1);
    const std::size_t x = name.find('x');
    Require(x != std::string_view::npos && AllDigits(name.substr(0, x)) && AllDigits(name.substr(x + 1)));
    Require(std::stoull(std::string(name.substr(0, x))) == mode->width);
    Require(std::stoull(std::string(name.substr(x + 1))) == mode->height);
  }

  if (const auto minor = RenderMinor(text)) {
    Require(*minor >= 0);
    Require(AllDigits(text.substr(text.rfind("renderD") + 7)));
  }
  return 0;
}
