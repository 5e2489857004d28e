// Text for the page file, which is written in an 8-bit code page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kovrin::submit {

// `utf8` without its last `count` characters (not bytes: a decimal separator
// may take more than one byte). Empty when it has `count` characters or fewer.
std::string DropLastCharacters(std::string_view utf8, std::size_t count);

// `utf8` in ISO-8859-1, one byte per character. Characters the code page has
// no printable sign for, and bytes that are not valid UTF-8, become "?".
std::string ToLatin1(std::string_view utf8);

}  // namespace kovrin::submit
