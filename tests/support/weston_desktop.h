// A Wayland desktop for one test: weston with Xwayland, in an Xvfb.
//
// weston runs on its x11 back end inside a headless Xvfb, with the pixman
// renderer (no GPU needed). Its headless back end would be simpler but has
// no seat, and SDL 2.26's Wayland driver crashes on a compositor without
// one. Clients get both WAYLAND_DISPLAY and DISPLAY (Xwayland), as on a
// user's desktop.
#pragma once

#include <sys/types.h>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/program_runner.h"
#include "tests/support/scratch_folder.h"

namespace kovrin::test {

class WestonDesktop {
 public:
  // nullptr, and `why` says why, when weston or Xwayland is not installed or
  // the desktop did not come up.
  static std::unique_ptr<WestonDesktop> Start(int width, int height, std::string& why);
  ~WestonDesktop();
  WestonDesktop(const WestonDesktop&) = delete;
  WestonDesktop& operator=(const WestonDesktop&) = delete;

  // Xwayland's display, for X clients of the desktop.
  const std::string& XDisplay() const { return xDisplay_; }
  // The Xvfb weston draws into: its root window is the desktop's picture.
  const std::string& HostDisplay() const { return host_->Display(); }
  // XDG_RUNTIME_DIR and WAYLAND_DISPLAY for a client of the desktop.
  std::vector<std::pair<std::string, std::string>> WaylandEnvironment() const;

 private:
  WestonDesktop() = default;

  std::unique_ptr<XServer> host_;
  pid_t weston_ = -1;
  std::optional<ScratchFolder> runtimeDir_;  // XDG_RUNTIME_DIR: weston's socket and log
  std::string socket_ = "kovrin-wayland";
  std::string xDisplay_;
};

// True when `program` is an executable somewhere on PATH.
bool OnPath(const std::string& program);

}  // namespace kovrin::test
