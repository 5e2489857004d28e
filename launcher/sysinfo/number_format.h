// The report's one number format.
#pragma once

#include <string>

namespace kovrin::sysinfo {

// The decimal text of value behind one space (a minus sign instead when the
// value is negative): "." as the decimal point whatever the locale, no
// thousands separators, at most 15 significant digits and no trailing zeros.
// FormatNumber(640) is " 640", FormatNumber(31.5) is " 31.5".
std::string FormatNumber(double value);

}  // namespace kovrin::sysinfo
