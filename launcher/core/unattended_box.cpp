#include "unattended_box.h"

namespace launcher {

std::optional<UnattendedMode> UnattendedModeFromEnv(const char* value) {
  if (value == nullptr || *value == '\0') return std::nullopt;
  const std::string_view mode(value);
  if (mode == "yes") return UnattendedMode::Yes;
  if (mode == "no") return UnattendedMode::No;
  return UnattendedMode::Default;
}

BoxAnswer UnattendedAnswer(UnattendedMode mode, BoxButtons buttons, BoxAnswer defaultAnswer) {
  if (buttons == BoxButtons::Ok) return BoxAnswer::Ok;
  if (mode == UnattendedMode::Yes) return BoxAnswer::Yes;
  if (mode == UnattendedMode::No) return BoxAnswer::No;
  return defaultAnswer;
}

std::string UnattendedLine(std::string_view caption, std::string_view text, BoxButtons buttons,
                           BoxAnswer answer) {
  std::string line = "[msgbox] caption: ";
  line += caption;
  line += " | text: ";
  for (const char c : text) {
    if (c == '\n') {
      line += "\\n";
    } else if (c != '\r') {
      line += c;
    }
  }
  line += " | buttons: ";
  line += buttons == BoxButtons::Ok ? "OK" : "YESNO";
  line += " | answer: ";
  line += answer == BoxAnswer::Ok ? "OK" : answer == BoxAnswer::Yes ? "YES" : "NO";
  return line;
}

}  // namespace launcher
