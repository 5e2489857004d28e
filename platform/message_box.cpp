// Message boxes: a real SDL dialog, or the unattended line and answer.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "message_box_line.h"
#include "platform.h"

namespace plat {

std::optional<UnattendedMode> UnattendedModeFromEnv(const char* value) {
  if (value == nullptr || *value == '\0') return std::nullopt;
  const std::string_view v(value);
  if (v == "yes") return UnattendedMode::Yes;
  if (v == "no") return UnattendedMode::No;
  return UnattendedMode::Default;
}

std::string UnattendedLine(std::string_view caption, std::string_view text,
                           std::string_view buttons, std::string_view answer) {
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
  line += buttons;
  line += " | answer: ";
  line += answer;
  return line;
}

namespace {

int AnswerUnattended(UnattendedMode mode, const std::string& text, const std::string& caption,
                     bool yesNo, int defaultAnswer) {
  int answer = defaultAnswer;
  if (yesNo && mode == UnattendedMode::Yes) answer = IDYES;
  if (yesNo && mode == UnattendedMode::No) answer = IDNO;
  const char* answerText = answer == IDYES ? "YES" : answer == IDNO ? "NO" : "OK";
  const std::string line = UnattendedLine(caption, text, yesNo ? "YESNO" : "OK", answerText);
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
  return answer;
}

Uint32 IconFlags(uint32_t flags) {
  switch (flags & 0xF0u) {
    case MB_ICONERROR: return SDL_MESSAGEBOX_ERROR;
    case MB_ICONEXCLAMATION: return SDL_MESSAGEBOX_WARNING;
    default: return SDL_MESSAGEBOX_INFORMATION;
  }
}

}  // namespace

int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  const bool yesNo = (flags & 0xFu) == MB_YESNO;
  const int defaultAnswer = !yesNo ? IDOK : (flags & MB_DEFBUTTON2) ? IDNO : IDYES;
  if (const auto mode = UnattendedModeFromEnv(std::getenv("KOVRIN_MSGBOX"))) {
    return AnswerUnattended(*mode, text, caption, yesNo, defaultAnswer);
  }

  SDL_MessageBoxButtonData buttons[2];
  int count = 0;
  if (yesNo) {
    const Uint32 yesKey = defaultAnswer == IDYES ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0;
    const Uint32 noKey = defaultAnswer == IDNO ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0;
    buttons[count++] = {yesKey, IDYES, "Ja"};
    buttons[count++] = {noKey | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "Nein"};
  } else {
    buttons[count++] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                        IDOK, "OK"};
  }
  const SDL_MessageBoxData data{IconFlags(flags), nullptr, caption.c_str(), text.c_str(),
                                count, buttons, nullptr};
  int pressed = 0;
  if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed <= 0) {
    // No dialog can be shown (no display): answer as an unattended box would,
    // so that a headless start never hangs on a question nobody sees.
    return AnswerUnattended(UnattendedMode::Default, text, caption, yesNo, defaultAnswer);
  }
  return pressed;
}

}  // namespace plat
