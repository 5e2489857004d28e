#include "tests/results/service_process.h"

#include "tests/support/scratch_folder.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "launcher/submit/checksum.h"
#include "launcher/submit/latin1_text.h"
#include "launcher/submit/submit_page.h"
#include "tests/support/scratch_folder.h"

extern char** environ;

namespace kovrin::test::results {
namespace {

namespace fs = std::filesystem;
using kovrin::test::ReadFile;
using Clock = std::chrono::steady_clock;

pid_t Spawn(const std::vector<std::string>& argv, const fs::path& out, const fs::path& err) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int ExitCode(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// Runs `argv` to its end; its exit code, its output in `output`.
int RunToEnd(const std::vector<std::string>& argv, const fs::path& folder, std::string& output) {
  const fs::path log = folder / "command.log";
  ChildProcess child(argv, log, log.string() + ".err");
  const int code = child.Stop(0);
  output = ReadFile(log) + ReadFile(log.string() + ".err");
  fs::remove(log);
  fs::remove(log.string() + ".err");
  return code;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const fs::path& out, const fs::path& err)
    : pid_(Spawn(argv, out, err)) {}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !status_) Stop(SIGTERM);
}

bool ChildProcess::Running() {
  if (pid_ <= 0 || status_) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
  return !status_;
}

int ChildProcess::Stop(int signal) {
  if (pid_ <= 0) return -1;
  if (!status_) {
    // Signal 0: wait for an end of its own (a command run to its end).
    if (signal != 0) ::kill(pid_, signal);
    const auto deadline = Clock::now() + std::chrono::seconds(signal != 0 ? 10 : 120);
    while (Running() && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!status_) {
      ::kill(pid_, SIGKILL);
      int status = 0;
      waitpid(pid_, &status, 0);
      status_ = status;
      return -1;
    }
  }
  return ExitCode(*status_);
}

Service::Service(const fs::path& folder, const std::vector<std::string>& args)
    : out_(folder / "service.out"),
      err_(folder / "service.err"),
      process_(
          [&] {
            std::vector<std::string> argv = {std::string(KOVRIN_RUN_DIR) + "/kovrin-results", "--listen",
                                             "127.0.0.1:0"};
            argv.insert(argv.end(), args.begin(), args.end());
            return argv;
          }(),
          out_, err_) {
  const std::regex announced("listening on http://127\\.0\\.0\\.1:([0-9]+)");
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  while (Clock::now() < deadline && process_.Running()) {
    std::smatch match;
    const std::string out = ReadFile(out_);
    if (std::regex_search(out, match, announced)) {
      port_ = std::stoi(match[1].str());
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::string Service::Log() const { return ReadFile(out_) + ReadFile(err_); }

int Service::Stop(int signal) { return process_.Stop(signal); }

PostgresServer::PostgresServer(const fs::path& folder) : folder_(folder) {
  std::error_code error;
  for (const fs::directory_entry& version : fs::directory_iterator("/usr/lib/postgresql", error)) {
    if (fs::exists(version.path() / "bin" / "initdb")) bin_ = version.path() / "bin";
  }
  if (bin_.empty()) {
    skip_ = "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/initdb; tools/bootstrap.sh installs it)";
    return;
  }
  // The server's user must be able to reach its folder.
  fs::permissions(folder_.parent_path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  fs::create_directories(folder_ / "sock");
  if (geteuid() == 0) {
    for (const fs::path& path : {folder_, folder_ / "sock"}) {
      if (::chown(path.c_str(), 65534, 65534) != 0) {
        skip_ = "cannot give " + path.string() + " to the user nobody";
        return;
      }
    }
  }
  std::string output;
  if (RunToEnd(AsServerUser({(bin_ / "initdb").string(), "-D", (folder_ / "data").string(), "-A", "trust", "-U",
                             "kovrin", "--no-sync"}),
               folder_.parent_path(), output) != 0) {
    skip_ = "initdb failed: " + output;
    return;
  }
  server_.emplace(AsServerUser({(bin_ / "postgres").string(), "-D", (folder_ / "data").string(), "-k",
                                (folder_ / "sock").string(), "-c", "listen_addresses=", "-c", "fsync=off"}),
                  folder_.parent_path() / "postgres.out", folder_.parent_path() / "postgres.err");
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  while (Clock::now() < deadline) {
    if (RunToEnd({(bin_ / "pg_isready").string(), "-q", "-h", (folder_ / "sock").string()}, folder_.parent_path(),
                 output) == 0) {
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  skip_ = "the PostgreSQL server did not start: " + ReadFile(folder_.parent_path() / "postgres.err");
}

PostgresServer::~PostgresServer() {
  // SIGINT: the fast shutdown, which ends the server's own children too.
  if (server_) server_->Stop(SIGINT);
}

std::string PostgresServer::Url() const { return "postgresql://kovrin@/postgres?host=" + (folder_ / "sock").string(); }

std::vector<std::string> PostgresServer::AsServerUser(std::vector<std::string> argv) const {
  if (geteuid() != 0) return argv;
  std::vector<std::string> wrapped = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
  wrapped.insert(wrapped.end(), argv.begin(), argv.end());
  return wrapped;
}

std::string Version() { return kovrin::submit::VersionText(); }

std::string FormEncode(const std::string& utf8) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : kovrin::submit::ToLatin1(utf8)) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) != 0 || c == '-' || c == '_' || c == '.' || c == '*') {
      encoded += c;
    } else if (c == ' ') {
      encoded += '+';
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 15];
    }
  }
  return encoded;
}

PagePost PostTo(const std::string& base) {
  PagePost post;
  post.base = base;
  return post;
}

std::string PageBody(const PagePost& post) {
  std::string checksum = post.checksum;
  if (checksum.empty()) {
    kovrin::submit::ChecksumGenerator generator;
    checksum = kovrin::submit::randnums(generator, post.result);
  }
  const std::pair<std::string, std::string> fields[] = {
      {"redirect", post.redirect.empty() ? post.base + "/kovrin/redirect.htm" : post.redirect},
      {"to_email", "results@kovrin.example"},
      {"subject", "Kovrin_Submit"},
      {"kovrin_version", post.version.empty() ? Version() : post.version},
      {"kovrin_result", post.resultText},
      {"checksum", checksum},
      {"Name", post.name},
      {"System", post.system},
      {"B1", "Submit"},
  };
  std::string body;
  for (const auto& [name, value] : fields) body += (body.empty() ? "" : "&") + name + "=" + FormEncode(value);
  return body;
}

}  // namespace kovrin::test::results
