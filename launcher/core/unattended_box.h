// Message boxes nobody answers: KOVRIN_MSGBOX turns each box into one line on
// stderr and an immediate answer, the same contract the test programs keep.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace launcher {

enum class UnattendedMode { Default, Yes, No };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };

// The mode the variable's value asks for: "yes", "no", any other non-empty
// value means the default button; unset or empty means real dialogs.
std::optional<UnattendedMode> UnattendedModeFromEnv(const char* value);

// The answer an unattended box gives. `defaultAnswer` is the box's default
// button; a Yes/No box answers as the mode says.
BoxAnswer UnattendedAnswer(UnattendedMode mode, BoxButtons buttons, BoxAnswer defaultAnswer);

// "[msgbox] caption: <caption> | text: <text> | buttons: <OK|YESNO> |
// answer: <OK|YES|NO>", line breaks in the text written as \n.
std::string UnattendedLine(std::string_view caption, std::string_view text, BoxButtons buttons,
                           BoxAnswer answer);

}  // namespace launcher
