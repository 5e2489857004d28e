#include "tests/support/weston_desktop.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace kovrin::test {

namespace {

using Clock = std::chrono::steady_clock;

// weston names Xwayland's display in its log once it listens for X clients.
std::string XDisplayFromLog(const std::string& log) {
  const std::string marker = "xserver listening on display ";
  const std::size_t at = log.find(marker);
  if (at == std::string::npos) return {};
  const std::size_t start = at + marker.size();
  const std::size_t end = log.find_first_of("\r\n", start);
  if (end == std::string::npos) return {};
  return log.substr(start, end - start);
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (::waitpid(pid, nullptr, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  const std::string folders(path);
  std::size_t start = 0;
  while (start <= folders.size()) {
    const std::size_t end = std::min(folders.find(':', start), folders.size());
    const fs::path candidate = fs::path(folders.substr(start, end - start)) / program;
    if (::access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

std::unique_ptr<WestonDesktop> WestonDesktop::Start(int width, int height, std::string& why) {
  for (const char* program : {"weston", "Xwayland", "Xvfb"}) {
    if (!OnPath(program)) {
      why = std::string(program) + " is not installed (tools/bootstrap.sh installs it)";
      return nullptr;
    }
  }
  std::unique_ptr<WestonDesktop> desktop(new WestonDesktop);
  desktop->host_ = XServer::StartXvfb(std::to_string(width) + "x" + std::to_string(height) + "x24");
  if (!desktop->host_) {
    why = "Xvfb could not be started";
    return nullptr;
  }
  try {
    desktop->runtimeDir_.emplace();
  } catch (const std::runtime_error&) {
    why = "no runtime folder for weston";
    return nullptr;
  }
  const std::string log = (*desktop->runtimeDir_ / "weston.log").string();

  std::vector<std::string> args = {"weston",
                                   "--backend=x11-backend.so",
                                   "--use-pixman",
                                   "--no-config",
                                   "--xwayland",
                                   "--idle-time=0",
                                   "--width=" + std::to_string(width),
                                   "--height=" + std::to_string(height),
                                   "--socket=" + desktop->socket_,
                                   "--log=" + log};
  const std::string runtimeEnv = "XDG_RUNTIME_DIR=" + desktop->runtimeDir_->String();
  const std::string displayEnv = "DISPLAY=" + desktop->host_->Display();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int devnull = ::open("/dev/null", O_RDWR);
    ::dup2(devnull, STDIN_FILENO);
    ::dup2(devnull, STDOUT_FILENO);
    ::dup2(devnull, STDERR_FILENO);
    ::putenv(const_cast<char*>(runtimeEnv.c_str()));
    ::putenv(const_cast<char*>(displayEnv.c_str()));
    ::unsetenv("WAYLAND_DISPLAY");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  desktop->weston_ = pid;

  const auto deadline = Clock::now() + std::chrono::seconds(20);
  const fs::path socket = *desktop->runtimeDir_ / desktop->socket_;
  while (Clock::now() < deadline) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid) {
      desktop->weston_ = -1;
      why = "weston ended at start (log: " + ReadFileBytes(log) + ")";
      return nullptr;
    }
    desktop->xDisplay_ = XDisplayFromLog(ReadFileBytes(log));
    if (!desktop->xDisplay_.empty() && fs::exists(socket)) return desktop;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  why = "weston did not come up within 20 s";
  return nullptr;
}

WestonDesktop::~WestonDesktop() {
  // weston ends its Xwayland and clients and removes Xwayland's socket and
  // lock file; the runtime folder goes with the object.
  Stop(weston_);
  host_.reset();
}

std::vector<std::pair<std::string, std::string>> WestonDesktop::WaylandEnvironment() const {
  return {{"XDG_RUNTIME_DIR", runtimeDir_->String()}, {"WAYLAND_DISPLAY", socket_}};
}

}  // namespace kovrin::test
