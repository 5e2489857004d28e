// Message boxes: a real SDL dialog, or the unattended line and answer.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"
#include "platform/unattended_box.h"

namespace kovrin::platform {

namespace {

int AnswerUnattended(kovrin::unattended::Mode mode, const std::string& text, const std::string& caption, bool yesNo,
                     int defaultAnswer) {
  const kovrin::unattended::Buttons buttons =
      yesNo ? kovrin::unattended::Buttons::YesNo : kovrin::unattended::Buttons::Ok;
  const kovrin::unattended::Answer fallback = defaultAnswer == IDYES  ? kovrin::unattended::Answer::Yes
                                              : defaultAnswer == IDNO ? kovrin::unattended::Answer::No
                                                                      : kovrin::unattended::Answer::Ok;
  const kovrin::unattended::Answer answer = kovrin::unattended::AnswerFor(mode, buttons, fallback);
  std::fprintf(stderr, "%s\n", kovrin::unattended::Line(caption, text, buttons, answer).c_str());
  std::fflush(stderr);
  return answer == kovrin::unattended::Answer::Yes ? IDYES : answer == kovrin::unattended::Answer::No ? IDNO : IDOK;
}

Uint32 IconFlags(uint32_t flags) {
  switch (flags & 0xF0u) {
    case MB_ICONERROR:
      return SDL_MESSAGEBOX_ERROR;
    case MB_ICONEXCLAMATION:
      return SDL_MESSAGEBOX_WARNING;
    default:
      return SDL_MESSAGEBOX_INFORMATION;
  }
}

}  // namespace

int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  const bool yesNo = (flags & 0xFu) == MB_YESNO;
  const int defaultAnswer = !yesNo ? IDOK : (flags & MB_DEFBUTTON2) ? IDNO : IDYES;
  if (const auto mode = kovrin::unattended::ModeFromEnv(std::getenv("KOVRIN_MSGBOX"))) {
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
    buttons[count++] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"};
  }
  const SDL_MessageBoxData data{IconFlags(flags), nullptr, caption.c_str(), text.c_str(), count, buttons, nullptr};
  int pressed = 0;
  if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed <= 0) {
    // No dialog can be shown (no display, or on Wayland neither zenity nor
    // an X server): answer as an unattended box would, so that a start
    // never hangs on a question nobody sees, and say why.
    std::fprintf(stderr, "no message box could be shown: %s\n", SDL_GetError());
    return AnswerUnattended(kovrin::unattended::Mode::Default, text, caption, yesNo, defaultAnswer);
  }
  return pressed;
}

}  // namespace kovrin::platform
