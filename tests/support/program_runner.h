// Runs the real test programs the way the launcher does: in a folder of
// their own, with config.cfg beside them, headless, unattended.
#pragma once

#include <sys/types.h>
#include <csignal>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace kovrin::test {

struct RunOptions {
  std::string program = "Quillfire";                     // file name in the run folder
  std::optional<std::string> config;                     // bytes of config.cfg; nullopt: no file
  std::string msgbox = "default";                        // KOVRIN_MSGBOX
  bool withData = true;                                  // data/ and default.fnt beside the program
  std::string videoDriver = "offscreen";                 // SDL_VIDEODRIVER; empty: use `display`
  std::string display;                                   // DISPLAY when videoDriver is empty
  std::vector<std::pair<std::string, std::string>> env;  // further variables
  int terminateAfterMs = -1;                             // send terminateSignal after this long
  int terminateSignal = SIGTERM;                         // SIGTERM, SIGINT: a stop request; SIGKILL: a crash
  std::function<void()> whileRunning;                    // called once, whileRunningAfterMs after the start
  int whileRunningAfterMs = 0;
  int closeWindowAfterMs = -1;  // on `display`: the window's close box after this long
  double timeoutSeconds = 90;
  std::string folder;  // reuse this folder; empty: a fresh ScratchFolder, removed after the run
  // Called with the run folder once data/ and config.cfg are in place, just
  // before the start: lets a test put something odd under a fixed name.
  std::function<void(const std::string&)> prepare;
};

struct RunResult {
  int exitCode = -1;  // 128 + signal when a signal ended the process
  bool killedBySignal = false;
  bool timedOut = false;
  long maxRssKb = 0;  // the program's peak resident memory
  double seconds = 0;
  std::string stdErr;
  std::string folder;
  std::optional<std::string> resultsFps;  // bytes of results.fps when it is a regular file
  bool windowCloseSent = false;

  // Value of a "[diag] key: value" line; empty when absent.
  std::string Diag(const std::string& key) const;
  // The "[msgbox] ..." lines in order.
  std::vector<std::string> MsgBoxLines() const;
};

// A standard config.cfg as the launcher writes it.
std::string ConfigText(int width, int height, int depth);

RunResult RunProgram(const RunOptions& options);
std::string ReadFileBytes(const std::string& path);

// A headless X server started for one test, found by -displayfd (fixed
// numbers collide on shared machines) and ended by its process id.
class XServer {
 public:
  // Xvfb with exactly one mode, the screen size given (e.g. "1600x1200x24").
  static std::unique_ptr<XServer> StartXvfb(const std::string& screen);
  // Xorg with the dummy driver and the given config (real mode changes);
  // needs root. nullptr when it cannot start.
  static std::unique_ptr<XServer> StartXorgDummy(const std::string& configPath);
  ~XServer();
  const std::string& Display() const { return display_; }
  // Ends the server now, as a crash or a log-out would for its clients.
  void End();
  pid_t Pid() const { return pid_; }

  XServer(pid_t pid, std::string display) : pid_(pid), display_(std::move(display)) {}

 private:
  pid_t pid_;
  std::string display_;
  std::optional<ScratchFolder> logFolder_;  // Xorg's log, removed with the server
};

}  // namespace kovrin::test
