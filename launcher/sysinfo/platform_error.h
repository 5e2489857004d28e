// The one error the system report raises.
//
// A platform call that fails outright (a driver that refuses an instance, a
// device that cannot be opened, a query that returns an error) ends the report
// where it stands with a PlatformError. The report does not catch it: the lines
// written so far stay in the sink, and the caller's general error treatment
// shows number() and what(). Sources that are simply absent (no Vulkan driver,
// no EGL device extension, no X display) are not errors; the report then shows
// what the other sources give.
#pragma once

#include <stdexcept>
#include <string>

namespace kovrin::sysinfo {

class PlatformError : public std::runtime_error {
 public:
  // number: the failing call's own result code (VkResult, EGL error, errno).
  PlatformError(int number, const std::string& text) : std::runtime_error(text), number_(number) {}
  int number() const noexcept { return number_; }

 private:
  int number_;
};

}  // namespace kovrin::sysinfo
