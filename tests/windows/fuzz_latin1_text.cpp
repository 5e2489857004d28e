// The score caption's conversion on arbitrary bytes: one Latin-1 byte per
// character, never a C1 control code, and cutting characters off the end
// cuts exactly that many off the converted text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "launcher/submit/latin1_text.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view utf8(reinterpret_cast<const char*>(data), size);
  const std::string latin1 = kovrin::submit::ToLatin1(utf8);
  Require(latin1.size() <= utf8.size());
  for (char c : latin1) {
    const auto byte = static_cast<unsigned char>(c);
    Require(byte < 0x80 || byte >= 0xA0);
  }
  for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{4}}) {
    const std::string kept = kovrin::submit::DropLastCharacters(utf8, count);
    Require(utf8.substr(0, kept.size()) == kept);
    const std::string keptLatin1 = kovrin::submit::ToLatin1(kept);
    if (latin1.size() > count) {
      Require(keptLatin1 == latin1.substr(0, latin1.size() - count));
    } else {
      Require(kept.empty());
    }
  }
  return 0;
}
