// Message boxes nobody answers: KOVRIN_MSGBOX turns each box into one line on
// stderr and an immediate answer, the same contract the test programs keep.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kovrin::unattended {

enum class Mode { Default, Yes, No };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

// The mode the variable's value asks for: "yes", "no", any other non-empty
// value means the default button; unset or empty means real dialogs.
std::optional<Mode> ModeFromEnv(const char* value);

// The answer an unattended box gives. `defaultAnswer` is the box's default
// button; a Yes/No box answers as the mode says.
Answer AnswerFor(Mode mode, Buttons buttons, Answer defaultAnswer);

// "[msgbox] caption: <caption> | text: <text> | buttons: <OK|YESNO> |
// answer: <OK|YES|NO>", line breaks in the text written as \n.
std::string Line(std::string_view caption, std::string_view text, Buttons buttons, Answer answer);

}  // namespace kovrin::unattended
