#include "launcher/submit/latin1_text.h"

#include <cstdint>
#include <vector>

namespace kovrin::submit {
namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one character at `pos` and moves `pos` past it. A malformed or
// overlong sequence yields kInvalid and moves one byte on.
char32_t NextCharacter(std::string_view utf8, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(utf8[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  std::size_t length = 0;
  char32_t value = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead < 0xE0) {
    length = 2;
    value = lead & 0x1Fu;
    smallest = 0x80;
  } else if (lead >= 0xE0 && lead < 0xF0) {
    length = 3;
    value = lead & 0x0Fu;
    smallest = 0x800;
  } else if (lead >= 0xF0 && lead < 0xF5) {
    length = 4;
    value = lead & 0x07u;
    smallest = 0x10000;
  }
  if (length == 0 || pos + length > utf8.size()) {
    ++pos;
    return kInvalid;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(utf8[pos + i]);
    if (!IsContinuation(byte)) {
      ++pos;
      return kInvalid;
    }
    value = (value << 6) | (byte & 0x3Fu);
  }
  if (value < smallest) {
    ++pos;
    return kInvalid;
  }
  pos += length;
  return value;
}

}  // namespace

std::string DropLastCharacters(std::string_view utf8, std::size_t count) {
  if (count == 0) return std::string(utf8);
  std::vector<std::size_t> starts;
  for (std::size_t pos = 0; pos < utf8.size();) {
    starts.push_back(pos);
    NextCharacter(utf8, pos);
  }
  if (starts.size() <= count) return {};
  return std::string(utf8.substr(0, starts[starts.size() - count]));
}

std::string ToLatin1(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t c = NextCharacter(utf8, pos);
    // C1 control codes (0x80 to 0x9F) have no sign in ISO-8859-1, and a
    // browser reading the page as windows-1252 would show other letters.
    const bool printable = c < 0x80 || (c >= 0xA0 && c <= 0xFF);
    out += printable ? static_cast<char>(static_cast<unsigned char>(c)) : '?';
  }
  return out;
}

}  // namespace kovrin::submit
