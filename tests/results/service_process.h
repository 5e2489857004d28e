// What the results service's tests share: the kovrin-results binary run as a
// child process on a free loopback port, a PostgreSQL server of its own in a
// scratch folder, and the submission page's post as the launcher's page
// makes it.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kovrin::test::results {

// A child process with its standard output and error in files; ended
// (SIGTERM, then SIGKILL after 10 s) and collected when it goes.
class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& out,
               const std::filesystem::path& err);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  bool Running();
  // Sends `signal`, waits for the end; the exit code (128 + signal when a
  // signal ended it), -1 when it had to be killed.
  int Stop(int signal);

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// kovrin-results --listen 127.0.0.1:0 plus `args`, with its logs in `folder`.
class Service {
 public:
  Service(const std::filesystem::path& folder, const std::vector<std::string>& args);

  // Whether it announced its port within 20 s.
  bool Started() const { return port_ > 0; }
  int Port() const { return port_; }
  std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }
  std::string Log() const;
  int Stop(int signal);

 private:
  std::filesystem::path out_, err_;
  ChildProcess process_;
  int port_ = -1;
};

// A PostgreSQL server in `folder`, as an unprivileged user when the test runs
// as root (initdb refuses root), reachable through a socket in the folder
// only. Skip() says why there is none.
class PostgresServer {
 public:
  explicit PostgresServer(const std::filesystem::path& folder);
  ~PostgresServer();

  const std::string& Skip() const { return skip_; }
  // postgresql://... for kovrin-results --db.
  std::string Url() const;

 private:
  std::vector<std::string> AsServerUser(std::vector<std::string> argv) const;

  std::filesystem::path folder_, bin_;
  std::string skip_;
  std::optional<ChildProcess> server_;
};

// The launcher's build version text, "1_0_54".
std::string Version();

// The percent-encoded body the submission page posts for these values, its
// text in ISO-8859-1 as the page is. `name` and `system` are UTF-8.
struct PagePost {
  std::string base;  // the site as the page names it, "http://127.0.0.1:port"
  std::string resultText = "123,4";
  int result = 123;
  std::string checksum;  // empty: a fitting one drawn as the launcher draws it
  std::string version;   // empty: the build's
  std::string name = "Ada Tester";
  std::string system = "Mesa llvmpipe";
  std::string redirect;  // empty: the site's own thank-you page
};
std::string PageBody(const PagePost& post);
// The page's post to the site at `base`, with the values above.
PagePost PostTo(const std::string& base);

// `text` percent-encoded as a form field (UTF-8 taken to ISO-8859-1).
std::string FormEncode(const std::string& utf8);

}  // namespace kovrin::test::results
