#include "tests/support/program_runner.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/window_close.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;

namespace kovrin::test {

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> BuildEnvironment(const RunOptions& o) {
  std::vector<std::pair<std::string, std::string>> overrides = {
      {"KOVRIN_MSGBOX", o.msgbox}, {"KOVRIN_DIAG", "1"}, {"SDL_VIDEODRIVER", o.videoDriver}, {"DISPLAY", o.display}};
  for (const auto& kv : o.env) overrides.push_back(kv);
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry(*e);
    const std::string name = entry.substr(0, entry.find('='));
    bool overridden = false;
    for (const auto& kv : overrides) overridden = overridden || kv.first == name;
    if (!overridden) env.push_back(entry);
  }
  for (const auto& [name, value] : overrides) {
    if (!value.empty()) env.push_back(name + "=" + value);
  }
  return env;
}

// Reads what the child writes until it closes the pipe or the deadline.
bool DrainUntil(int fd, std::string& out, Clock::time_point deadline) {
  char buffer[4096];
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, 100)));
    if (ready <= 0) continue;
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) return true;
    out.append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace

std::string ConfigText(int width, int height, int depth) {
  return "GL_RESX=" + std::to_string(width) + ";\r\nGL_RESY=" + std::to_string(height) +
         ";\r\nGL_BITDEPTH=" + std::to_string(depth) + ";\r\n";
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string RunResult::Diag(const std::string& key) const {
  const std::string prefix = "[diag] " + key + ": ";
  std::istringstream lines(stdErr);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
  }
  return {};
}

std::vector<std::string> RunResult::MsgBoxLines() const {
  std::vector<std::string> found;
  std::istringstream lines(stdErr);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("[msgbox] ", 0) == 0) found.push_back(line);
  }
  return found;
}

RunResult RunProgram(const RunOptions& o) {
  RunResult r;
  // A folder made here is gone with the run: tests leave nothing in /tmp.
  std::optional<ScratchFolder> scratch;
  if (o.folder.empty()) scratch.emplace();
  r.folder = scratch ? scratch->String() : o.folder;
  const fs::path folder(r.folder);
  const fs::path runDir(KOVRIN_RUN_DIR);
  std::error_code ec;
  if (o.withData) {
    fs::create_directory_symlink(runDir / "data", folder / "data", ec);
    fs::copy_file(runDir / "default.fnt", folder / "default.fnt", fs::copy_options::overwrite_existing, ec);
  }
  if (o.config) WriteFile(folder / "config.cfg", *o.config);
  if (o.prepare) o.prepare(r.folder);

  const std::string program = (runDir / o.program).string();
  std::vector<std::string> env = BuildEnvironment(o);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return r;
  const auto start = Clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipeFds[1], STDERR_FILENO);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    if (::chdir(r.folder.c_str()) != 0) ::_exit(126);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    ::execve(program.c_str(), argv, envp.data());
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  const auto deadline = start + std::chrono::milliseconds(static_cast<long long>(o.timeoutSeconds * 1000));
  if (o.whileRunning) {
    DrainUntil(pipeFds[0], r.stdErr, start + std::chrono::milliseconds(o.whileRunningAfterMs));
    o.whileRunning();
  }
  if (o.terminateAfterMs >= 0) {
    DrainUntil(pipeFds[0], r.stdErr, start + std::chrono::milliseconds(o.terminateAfterMs));
    ::kill(pid, o.terminateSignal);
  }
  if (o.closeWindowAfterMs >= 0) {
    DrainUntil(pipeFds[0], r.stdErr, start + std::chrono::milliseconds(o.closeWindowAfterMs));
    r.windowCloseSent = RequestWindowClose(o.display, pid);
  }
  if (!DrainUntil(pipeFds[0], r.stdErr, deadline)) {
    r.timedOut = true;
    ::kill(pid, SIGKILL);
  }
  ::close(pipeFds[0]);
  int status = 0;
  struct rusage usage {};
  ::wait4(pid, &status, 0, &usage);
  r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.killedBySignal = WIFSIGNALED(status);
  r.maxRssKb = usage.ru_maxrss;
  // Only a regular file is read back: a FIFO would wait for a writer, and a
  // symlink's target is not what the program wrote.
  if (fs::is_regular_file(fs::symlink_status(folder / "results.fps", ec))) {
    r.resultsFps = ReadFileBytes((folder / "results.fps").string());
  }
  return r;
}

namespace {

std::unique_ptr<XServer> StartServer(std::vector<std::string> args, int seconds) {
  int fds[2];
  if (::pipe(fds) != 0) return nullptr;
  args.push_back("-displayfd");
  args.push_back(std::to_string(fds[1]));
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    const int devnull = ::open("/dev/null", O_WRONLY);
    ::dup2(devnull, STDERR_FILENO);
    ::dup2(devnull, STDOUT_FILENO);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(fds[1]);
  // The server writes its display number and a line feed once it listens.
  std::string number;
  const auto deadline = Clock::now() + std::chrono::seconds(seconds);
  char c = 0;
  while (number.find('\n') == std::string::npos && Clock::now() < deadline) {
    pollfd p{fds[0], POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    if (::read(fds[0], &c, 1) != 1) break;
    number += c;
  }
  ::close(fds[0]);
  while (!number.empty() && (number.back() == '\n' || number.back() == ' ')) number.pop_back();
  if (number.empty()) {
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    return nullptr;
  }
  return std::unique_ptr<XServer>(new XServer(pid, ":" + number));
}

}  // namespace

std::unique_ptr<XServer> XServer::StartXvfb(const std::string& screen) {
  return StartServer({"Xvfb", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"}, 20);
}

std::unique_ptr<XServer> XServer::StartXorgDummy(const std::string& configPath) {
  // The log (and the .old copy Xorg keeps of an earlier one) lives in a
  // folder that goes with the server.
  ScratchFolder logFolder;
  const std::string log = (logFolder / "Xorg.log").string();
  auto server = StartServer({"Xorg", "-noreset", "-nolisten", "tcp", "-logfile", log, "-config", configPath}, 30);
  if (server) server->logFolder_ = std::move(logFolder);
  return server;
}

void XServer::End() {
  if (pid_ <= 0) return;
  // SIGTERM: the clients lose their connection all the same, and the server
  // still removes its socket and lock file.
  ::kill(pid_, SIGTERM);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
  logFolder_.reset();
}

XServer::~XServer() { End(); }

}  // namespace kovrin::test
