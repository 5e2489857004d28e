// The body of a posted HTML form (application/x-www-form-urlencoded).
//
// The submission page is written in ISO-8859-1, so the browser sends its
// fields in that code page: every byte of a decoded value is one Latin-1
// character, turned into UTF-8 here for storage and display.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kovrin::results {

// The fields in the order they came, names and values in UTF-8.
using FormFields = std::vector<std::pair<std::string, std::string>>;

// Decodes `body`; nullopt with the reason in `error` for a body no browser
// sends: a "%" not followed by two hex digits, or a field without "=".
// Empty pieces between "&" are skipped, as browsers never send them.
std::optional<FormFields> DecodeForm(std::string_view body, std::string& error);

// One Latin-1 byte string as UTF-8.
std::string Latin1ToUtf8(std::string_view latin1);

// How many characters a UTF-8 text holds (not bytes).
std::size_t CharacterCount(std::string_view utf8);

}  // namespace kovrin::results
