// The launcher binary against test programs that misbehave, and against the
// user ending it: each case must end in bounded time, leave no test program
// running, remove its hand-off files and touch nothing outside its folder.
//
// Every case runs a copy of kovrin in a scratch folder of its own, beside
// shell stand-ins for the test programs (the launcher works in the folder of
// its executable), with HOME pointing at an empty scratch folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/scratch_folder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using kovrin::test::ReadFile;
using Clock = std::chrono::steady_clock;
using kovrin::test::ScratchFolder;
using kovrin::test::WriteFile;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A stand-in still running in `folder`. A zombie has ended (only its parent
// has yet to collect it); a process of that number elsewhere is another one
// that got the number again.
bool Alive(pid_t pid, const fs::path& folder) {
  const fs::path proc = "/proc/" + std::to_string(pid);
  std::error_code error;
  if (::kill(pid, 0) != 0 || fs::read_symlink(proc / "cwd", error) != folder) return false;
  const std::string stat = ReadFile(proc / "stat");
  const std::size_t close = stat.rfind(')');
  return close == std::string::npos || stat.size() < close + 3 || stat[close + 2] != 'Z';
}

// Waits up to `seconds` for every stand-in of the folder to be gone.
bool AllGone(const std::vector<pid_t>& pids, const fs::path& folder, int seconds) {
  const auto deadline = Clock::now() + std::chrono::seconds(seconds);
  for (;;) {
    bool alive = false;
    for (const pid_t pid : pids) alive = alive || Alive(pid, folder);
    if (!alive) return true;
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

struct Ended {
  bool hung = false;
  int exitCode = -1;
  long maxRssKb = 0;
  double seconds = 0;  // from the launch, or from the signal when one was sent
  std::string out;
  std::string err;
};

// A launcher folder: a copy of kovrin and stand-ins for the test programs.
class LauncherFolder {
 public:
  explicit LauncherFolder(const fs::path& folder) : folder_(folder) {
    fs::create_directories(folder_);
    fs::copy_file(fs::path(KOVRIN_RUN_DIR) / "kovrin", folder_ / "kovrin");
  }

  // The stand-in notes its process id in `pids` before `body` runs, unless
  // the body notes it itself (after a trap that must already hold by then).
  void Program(const char* name, const std::string& body) const {
    const std::string note = "echo $$ >> pids\n";
    WriteFile(folder_ / name, "#!/bin/sh\n" + (body.find(note) == std::string::npos ? note : "") + body + "\n");
    fs::permissions(folder_ / name, fs::perms::owner_all);
  }

  std::vector<pid_t> Pids() const {
    std::vector<pid_t> pids;
    std::istringstream lines(ReadFile(folder_ / "pids"));
    for (pid_t pid = 0; lines >> pid;) pids.push_back(pid);
    return pids;
  }

  const fs::path& Path() const { return folder_; }

 private:
  fs::path folder_;
};

// One launcher process, its output in files outside its folder.
class Launcher {
 public:
  Launcher(const LauncherFolder& folder, const fs::path& logs, const fs::path& home, std::vector<std::string> args)
      : out_(logs / ("out" + std::to_string(++count_))), err_(logs / ("err" + std::to_string(count_))) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
      const std::string text(*entry);
      const std::string name = text.substr(0, text.find('='));
      if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "HOME" && name != "XDG_DATA_HOME" &&
          name != "KOVRIN_MSGBOX" && name != "QT_QPA_PLATFORM" && name != "ASAN_OPTIONS") {
        environment.push_back(text);
      }
    }
    // ASan keeps up to 256 MB of freed memory in quarantine, which would
    // hide what the launcher really holds; a sanitizer-free build ignores it.
    const char* asan = std::getenv("ASAN_OPTIONS");
    environment.push_back(std::string("ASAN_OPTIONS=") +
                          (asan != nullptr && *asan != '\0' ? std::string(asan) + ":" : "") + "quarantine_size_mb=16");
    environment.push_back("HOME=" + home.string());
    environment.push_back("XDG_DATA_HOME=" + (home / "data").string());
    environment.push_back("KOVRIN_MSGBOX=default");
    environment.push_back("QT_QPA_PLATFORM=offscreen");
    const std::string program = (folder.Path() / "kovrin").string();
    args.insert(args.begin(), program);
    start_ = Clock::now();
    pid_ = ::fork();
    if (pid_ == 0) {
      const int out = ::open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int err = ::open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(out, STDOUT_FILENO);
      ::dup2(err, STDERR_FILENO);
      std::vector<char*> argv, envp;
      for (std::string& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      for (std::string& entry : environment) envp.push_back(entry.data());
      envp.push_back(nullptr);
      ::execve(program.c_str(), argv.data(), envp.data());
      ::_exit(127);
    }
  }
  ~Launcher() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  void Signal(int signal) {
    ::kill(pid_, signal);
    start_ = Clock::now();
  }

  // Waits for the end, up to `seconds`; a launcher still running then is
  // killed and reported as hung.
  Ended Wait(int seconds) {
    Ended ended;
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    rusage usage{};
    while (::wait4(pid_, &status, WNOHANG, &usage) == 0) {
      if (Clock::now() > deadline) {
        ended.hung = true;
        ::kill(pid_, SIGKILL);
        ::wait4(pid_, &status, 0, &usage);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
    ended.seconds = std::chrono::duration<double>(Clock::now() - start_).count();
    ended.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    ended.maxRssKb = usage.ru_maxrss;
    ended.out = ReadFile(out_);
    ended.err = ReadFile(err_);
    return ended;
  }

 private:
  static inline int count_ = 0;
  fs::path out_;
  fs::path err_;
  pid_t pid_ = -1;
  Clock::time_point start_;
};

bool WaitForFile(const fs::path& file, int seconds) {
  const auto deadline = Clock::now() + std::chrono::seconds(seconds);
  while (!fs::exists(file)) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// The stand-in's shell creates `pids` a moment before it writes its number:
// a signal sent in between would kill it unnoted.
bool WaitForProgramStart(const fs::path& pids, int seconds) {
  const auto deadline = Clock::now() + std::chrono::seconds(seconds);
  while (ReadFile(pids).find('\n') == std::string::npos) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

class LauncherFaults : public ::testing::Test {
 protected:
  fs::path Logs() const { return temp.Path() / "logs"; }
  fs::path Home() const { return temp.Path() / "home"; }
  void SetUp() override {
    fs::create_directories(Logs());
    fs::create_directories(Home());
  }
  // Nothing outside the launcher folder: the per-user folder stays unmade.
  void ExpectHomeUntouched() const { EXPECT_TRUE(fs::is_empty(Home())) << "the launcher wrote into HOME"; }

  ScratchFolder temp;
};

struct Fault {
  const char* name;
  const char* quillfire;          // the stand-in's body
  std::vector<std::string> args;  // after --headless --json FILE
  int signal;                     // sent once the program runs; 0: none
  int exitCode;
  const char* errPart;
  long maxRssKb;  // 0: not checked
};

// Seconds within which each case must end, from its cause: the signal, the
// program's end, or the time-out of a program that hangs.
constexpr int kEndsWithin = 10;

TEST_F(LauncherFaults, EachEndsBoundedWithNoProgramLeftAndNoHandoffFile) {
  const Fault faults[] = {
      {"results.fps a FIFO, program hangs",
       "mkfifo results.fps\nexec sleep 60",
       {"--timeout", "3"},
       0,
       1,
       "Run 1/12 Quillfire 640x480x16: no result within 3 s; results.fps is not a regular file of its own (a "
       "FIFO, a link, a folder); Quillfire was still running and has been stopped",
       0},
      {"results.fps a FIFO, program ends",
       "mkfifo results.fps",
       {},
       0,
       1,
       "Run 1/12 Quillfire 640x480x16: no result; results.fps is not a regular file of its own (a FIFO, a link, "
       "a folder); Quillfire ended with exit code 0",
       0},
      {"negative result",
       "printf -- '-2000000000\\r\\n' > results.fps",
       {},
       0,
       1,
       "no result; results.fps cannot be read as a frame rate: \"-2000000000\\r\\n\"",
       0},
      {"program exits without result",
       "exit 3",
       {},
       0,
       1,
       "no result; results.fps was not written; Quillfire "
       "ended with exit code 3",
       0},
      {"program crashes", "kill -SEGV $$", {}, 0, 1, "Quillfire was ended by SIGSEGV", 0},
      {"SIGTERM to the launcher", "exec sleep 60", {}, SIGTERM, 143, "kovrin: stopped by SIGTERM", 0},
      {"SIGINT to the launcher", "exec sleep 60", {}, SIGINT, 130, "kovrin: stopped by SIGINT", 0},
      {"SIGTERM, program ignores SIGTERM",
       "trap '' TERM\necho $$ >> pids\nexec sleep 60",
       {},
       SIGTERM,
       143,
       "kovrin: stopped by SIGTERM",
       0},
      // 300 MB without a line end; the launcher must not hold it.
      {"program floods its output", "head -c 300000000 /dev/zero", {}, 0, 1, "ended with exit code 0", 200 * 1024},
  };
  int index = 0;
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.name);
    const LauncherFolder folder(temp.Path() / ("launcher" + std::to_string(++index)));
    folder.Program("Quillfire", fault.quillfire);
    folder.Program("Lumavane", "exit 0");
    const fs::path json = Logs() / ("result" + std::to_string(index) + ".json");
    std::vector<std::string> args = {"--headless", "--json", json.string()};
    args.insert(args.end(), fault.args.begin(), fault.args.end());

    Launcher launcher(folder, Logs(), Home(), args);
    int limit = 60;
    if (fault.signal != 0) {
      ASSERT_TRUE(WaitForProgramStart(folder.Path() / "pids", 30)) << "the program never started";
      launcher.Signal(fault.signal);
      limit = kEndsWithin;
    }
    const Ended ended = launcher.Wait(limit);
    ASSERT_FALSE(ended.hung) << "still running after " << limit << " s\n" << ended.err;
    if (fault.signal == 0) {
      EXPECT_LT(ended.seconds, 30) << "a program that ended was waited for like a hanging one\n" << ended.err;
    }
    EXPECT_EQ(ended.exitCode, fault.exitCode) << ended.err;
    EXPECT_TRUE(Contains(ended.err, fault.errPart)) << ended.err;
    EXPECT_FALSE(Contains(ended.out, "Score:")) << ended.out;
    EXPECT_FALSE(fs::exists(json)) << "a JSON report of a failed run";
    EXPECT_FALSE(fs::exists(folder.Path() / "config.cfg")) << ended.err;
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder.Path() / "results.fps"))) << ended.err;
    const std::vector<pid_t> pids = folder.Pids();
    EXPECT_EQ(pids.size(), 1u) << ended.err;
    EXPECT_TRUE(AllGone(pids, folder.Path(), 4)) << "a test program outlived the launcher by 4 s\n" << ended.err;
    if (fault.maxRssKb != 0) {
      EXPECT_LT(ended.maxRssKb, fault.maxRssKb) << "the launcher held the flood\n" << ended.err.substr(0, 200);
    }
    for (const pid_t pid : pids) {
      if (Alive(pid, folder.Path())) ::kill(pid, SIGKILL);
    }
  }
  ExpectHomeUntouched();
}

// The second launcher, headless or with its window, runs nothing and
// changes nothing; the first goes on undisturbed.
TEST_F(LauncherFaults, ASecondLauncherInTheFolderIsRefused) {
  const LauncherFolder folder(temp.Path() / "launcher");
  folder.Program("Quillfire", "exec sleep 60");
  folder.Program("Lumavane", "exit 0");
  Launcher first(folder, Logs(), Home(), {"--headless"});
  ASSERT_TRUE(WaitForProgramStart(folder.Path() / "pids", 30));
  const std::string config = ReadFile(folder.Path() / "config.cfg");

  struct Second {
    std::vector<std::string> args;
    const char* errPart;
  } const seconds[] = {
      {{"--headless"}, "kovrin: another kovrin is already running in "},
      {{}, "[msgbox] caption: Kovrin | text: another kovrin is already running in "},
  };
  for (const Second& second : seconds) {
    SCOPED_TRACE(second.args.empty() ? "window" : "headless");
    Launcher refused(folder, Logs(), Home(), second.args);
    const Ended ended = refused.Wait(30);
    ASSERT_FALSE(ended.hung);
    EXPECT_EQ(ended.exitCode, 1) << ended.err;
    EXPECT_TRUE(Contains(ended.err, second.errPart + folder.Path().string())) << ended.err;
    EXPECT_EQ(ReadFile(folder.Path() / "config.cfg"), config) << "the first launcher's settings changed";
    EXPECT_EQ(folder.Pids().size(), 1u) << "a second test program started";
  }

  first.Signal(SIGTERM);
  const Ended ended = first.Wait(kEndsWithin);
  EXPECT_EQ(ended.exitCode, 143) << ended.err;
  EXPECT_TRUE(AllGone(folder.Pids(), folder.Path(), 4));
  ExpectHomeUntouched();
}

// The window's launcher, idle, ends on SIGTERM with the signal's exit code.
TEST_F(LauncherFaults, TheWindowEndsOnSigterm) {
  const LauncherFolder folder(temp.Path() / "launcher");
  Launcher window(folder, Logs(), Home(), {});
  // The lock file is made once the window is about to open.
  ASSERT_TRUE(WaitForFile(folder.Path() / "kovrin.lock", 30));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  window.Signal(SIGTERM);
  const Ended ended = window.Wait(kEndsWithin);
  ASSERT_FALSE(ended.hung);
  EXPECT_EQ(ended.exitCode, 143) << ended.err;
}

// A folder name that is not UTF-8 cannot be handed on; it is refused before
// any link or file is made, here or in the per-user folder.
TEST_F(LauncherFaults, ALauncherFolderThatIsNotUtf8IsRefused) {
  const LauncherFolder folder(temp.Path() / "kovrin-\xff\xfe");
  folder.Program("Quillfire", "exec sleep 60");
  folder.Program("Lumavane", "exit 0");
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--headless"}, std::vector<std::string>{}}) {
    Launcher launcher(folder, Logs(), Home(), args);
    const Ended ended = launcher.Wait(30);
    ASSERT_FALSE(ended.hung);
    EXPECT_EQ(ended.exitCode, 1) << ended.err;
    EXPECT_TRUE(Contains(ended.err, "kovrin-\\xFF\\xFE\" is not valid UTF-8")) << ended.err;
  }
  EXPECT_FALSE(fs::exists(folder.Path() / "pids")) << "a test program ran";
  EXPECT_FALSE(fs::exists(folder.Path() / "config.cfg"));
  ExpectHomeUntouched();
}

}  // namespace
