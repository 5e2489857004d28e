// The launcher's own texts: its title, its caption and its messages.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kovrin::launcher {

// The title of the launcher's message boxes.
inline constexpr std::string_view kApplicationTitle = "Kovrin";

// The refusal after a failed strict clean-up, three lines joined by CR LF.
inline constexpr std::string_view kCleanupFailureText =
    "Es ist ein bekannter Fehler aufgetreten!\r\n"
    "Eine Datei konnte nicht gel\xC3\xB6scht werden\r\n"
    "Um Cheat-Sicherheit zu gew\xC3\xA4hren wird abgebrochen.";

// The exit code of a launcher ended by an error no handler dealt with.
inline constexpr int kUntrappedErrorExitCode = 1;

// "Kovrin 2002 - 1.0.54" for version 1.0.54.
std::string LauncherCaption(int major, int minor, int revision);
// The caption of this build, from the version in kovrin_version.h.
std::string LauncherCaption();

// An error the launcher cannot handle where it happens. It carries a number
// for the message, like the system errors it usually wraps.
class UntrappedError : public std::runtime_error {
 public:
  UntrappedError(int number, const std::string& text) : std::runtime_error(text), number_(number) {}
  int Number() const { return number_; }

 private:
  int number_;
};

struct ErrorDescription {
  int number;
  std::string text;
};

// Number and text of an error that reached a handler: UntrappedError and
// std::system_error keep theirs; out of memory is ENOMEM; anything else is -1.
ErrorDescription DescribeError(std::exception_ptr error);

// "Error <number>: <text>", the message shown before the launcher ends.
std::string UntrappedErrorText(const ErrorDescription& error);

}  // namespace kovrin::launcher
