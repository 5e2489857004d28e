// The unattended form of a message box: one line on stderr and an answer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plat {

enum class UnattendedMode { Default, Yes, No };

// The mode KOVRIN_MSGBOX asks for; nullopt when unset (real dialogs).
std::optional<UnattendedMode> UnattendedModeFromEnv(const char* value);

// "[msgbox] caption: .. | text: .. | buttons: .. | answer: .." with line
// feeds in the text written as \n.
std::string UnattendedLine(std::string_view caption, std::string_view text,
                           std::string_view buttons, std::string_view answer);

}  // namespace plat
