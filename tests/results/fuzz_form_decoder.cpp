// The form decoder on arbitrary bodies: what it decodes encodes back to the
// same fields, every value is UTF-8 of one character per Latin-1 byte, and
// the submission checks take whatever it decodes without harm.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "results/form_decoder.h"
#include "results/submission.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

// The UTF-8 of Latin1ToUtf8 back to its bytes.
std::string BackToLatin1(std::string_view utf8) {
  std::string bytes;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else {
      Require((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size());
      bytes += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
    }
  }
  return bytes;
}

std::string Encode(std::string_view utf8) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : BackToLatin1(utf8)) {
    const auto byte = static_cast<unsigned char>(c);
    encoded += '%';
    encoded += kHex[byte >> 4];
    encoded += kHex[byte & 15];
  }
  return encoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  std::string error;
  const std::optional<kovrin::results::FormFields> fields = kovrin::results::DecodeForm(body, error);
  if (!fields) {
    Require(!error.empty());
    return 0;
  }
  std::string again;
  for (const auto& [name, value] : *fields) {
    Require(kovrin::results::CharacterCount(value) == BackToLatin1(value).size());
    again += (again.empty() ? "" : "&") + Encode(name) + "=" + Encode(value);
  }
  const std::optional<kovrin::results::FormFields> decoded = kovrin::results::DecodeForm(again, error);
  Require(decoded && *decoded == *fields);
  const kovrin::results::SubmissionCheck check = kovrin::results::CheckSubmission(*fields, {"1_0_54"});
  Require(check.submission.has_value() == check.problems.empty());
  return 0;
}
