// What the launcher accepts from results.fps.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kovrin::launcher {

// The frame rate in the content of a result file, or nullopt when no result
// can be taken (yet): the first line is the text before the first CR, and it
// counts only once its CR LF has been written, so a file the test program is
// still writing is never read half-way. See ParseResultNumber for the number.
std::optional<int32_t> ResultFromFile(std::string_view content, std::string_view decimalSeparator);

// The number in one line: blanks around it ignored, an optional sign, digits
// with an optional fraction written with the user's decimal separator, the
// fraction rounded to the nearest integer with ties to even. Anything else, a
// value below zero and a value beyond the 32-bit signed range give nullopt.
std::optional<int32_t> ParseResultNumber(std::string_view text, std::string_view decimalSeparator);

}  // namespace kovrin::launcher
