#include "platform/unattended_box.h"

namespace kovrin::unattended {

std::optional<Mode> ModeFromEnv(const char* value) {
  if (value == nullptr || *value == '\0') return std::nullopt;
  const std::string_view mode(value);
  if (mode == "yes") return Mode::Yes;
  if (mode == "no") return Mode::No;
  return Mode::Default;
}

Answer AnswerFor(Mode mode, Buttons buttons, Answer defaultAnswer) {
  if (buttons == Buttons::Ok) return Answer::Ok;
  if (mode == Mode::Yes) return Answer::Yes;
  if (mode == Mode::No) return Answer::No;
  return defaultAnswer;
}

std::string Line(std::string_view caption, std::string_view text, Buttons buttons, Answer answer) {
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
  line += buttons == Buttons::Ok ? "OK" : "YESNO";
  line += " | answer: ";
  line += answer == Answer::Ok ? "OK" : answer == Answer::Yes ? "YES" : "NO";
  return line;
}

}  // namespace kovrin::unattended
