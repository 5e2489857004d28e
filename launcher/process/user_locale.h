// The user's number conventions, as the launcher's texts use them.
#pragma once

#include <string>

namespace kovrin::process {

// The decimal separator of the user's locale (LC_ALL, LC_NUMERIC, LANG), as
// UTF-8: "." or "," for most users.
std::string UserDecimalSeparator();

}  // namespace kovrin::process
