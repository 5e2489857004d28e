#include "results/form_decoder.h"

namespace kovrin::results {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes a piece of the body stands for ("+" is a blank, "%41" is "A").
std::optional<std::string> Unescape(std::string_view piece, std::string& error) {
  std::string bytes;
  bytes.reserve(piece.size());
  for (std::size_t i = 0; i < piece.size(); ++i) {
    const char c = piece[i];
    if (c == '+') {
      bytes += ' ';
    } else if (c == '%') {
      const int high = i + 1 < piece.size() ? HexValue(piece[i + 1]) : -1;
      const int low = i + 2 < piece.size() ? HexValue(piece[i + 2]) : -1;
      if (high < 0 || low < 0) {
        error = "a '%' in the form data is not followed by two hexadecimal digits";
        return std::nullopt;
      }
      bytes += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      bytes += c;
    }
  }
  return bytes;
}

}  // namespace

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string utf8;
  utf8.reserve(latin1.size());
  for (const char c : latin1) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (byte >> 6));
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (const char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

std::optional<FormFields> DecodeForm(std::string_view body, std::string& error) {
  FormFields fields;
  while (!body.empty()) {
    const std::size_t amp = body.find('&');
    const std::string_view piece = body.substr(0, amp);
    body = amp == std::string_view::npos ? std::string_view() : body.substr(amp + 1);
    if (piece.empty()) continue;
    const std::size_t equals = piece.find('=');
    if (equals == std::string_view::npos) {
      error = "a field of the form data has no '='";
      return std::nullopt;
    }
    std::optional<std::string> name = Unescape(piece.substr(0, equals), error);
    if (!name) return std::nullopt;
    std::optional<std::string> value = Unescape(piece.substr(equals + 1), error);
    if (!value) return std::nullopt;
    fields.emplace_back(Latin1ToUtf8(*name), Latin1ToUtf8(*value));
  }
  return fields;
}

}  // namespace kovrin::results
