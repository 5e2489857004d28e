// kovrin-results: the results service. See README, "Results service".
#include <httplib.h>
#include <signal.h>
#include <sys/socket.h>

#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "launcher/submit/submit_page.h"
#include "results/service.h"
#include "results/store.h"

namespace {

using namespace kovrin::results;

// Enough workers that a handful of idle keep-alive connections (each holds
// one until its time-out) cannot keep a new visitor waiting.
constexpr int kWorkerThreads = 32;
constexpr int kTimeoutSeconds = 5;

struct Options {
  std::string db = "results.sqlite";
  std::string host = "127.0.0.1";
  int port = 8080;
  ServiceOptions service;
};

constexpr char kHelp[] =
    "Usage: kovrin-results [--db FILE|URL] [--listen HOST:PORT] [--rate-limit N]\n"
    "                      [--admin-token TOKEN]\n"
    "\n"
    "The results service: takes the launcher's submission page's posts and result\n"
    "files of kovrin --headless --json, stores them, ranks and compares them.\n"
    "\n"
    "  --db FILE|URL        a SQLite file (default results.sqlite, created when\n"
    "                       missing) or a postgresql:// URL\n"
    "  --listen HOST:PORT   where to answer (default 127.0.0.1:8080; port 0 picks a\n"
    "                       free one, printed at the start)\n"
    "  --rate-limit N       posts a minute one client address may make (default 10;\n"
    "                       0 switches the limit off)\n"
    "  --admin-token TOKEN  allow DELETE /api/v1/results/ID with the header\n"
    "                       'Authorization: Bearer TOKEN' (without it: no deletion)\n"
    "  --help               show this help and exit\n";

std::optional<int> Number(const std::string& text, int low, int high) {
  int value = 0;
  const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || rest != text.data() + text.size() || value < low || value > high) return std::nullopt;
  return value;
}

// Options, or nullopt after the message (exit code in `exitCode`).
std::optional<Options> ParseOptions(const std::vector<std::string>& args, int& exitCode) {
  Options options;
  exitCode = 2;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kHelp;
      exitCode = 0;
      return std::nullopt;
    }
    if (arg != "--db" && arg != "--listen" && arg != "--rate-limit" && arg != "--admin-token") {
      std::cerr << "kovrin-results: unknown argument '" << arg << "'\nTry 'kovrin-results --help'.\n";
      return std::nullopt;
    }
    if (i + 1 == args.size()) {
      std::cerr << "kovrin-results: " << arg << " needs a value\n";
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (arg == "--db") {
      options.db = value;
    } else if (arg == "--listen") {
      const std::size_t colon = value.rfind(':');
      const std::optional<int> port =
          colon == std::string::npos ? std::nullopt : Number(value.substr(colon + 1), 0, 65535);
      if (!port || colon == 0) {
        std::cerr << "kovrin-results: --listen needs HOST:PORT, not '" << value << "'\n";
        return std::nullopt;
      }
      options.host = value.substr(0, colon);
      options.port = *port;
    } else if (arg == "--rate-limit") {
      const std::optional<int> limit = Number(value, 0, 1000000);
      if (!limit) {
        std::cerr << "kovrin-results: --rate-limit needs a whole number from 0, not '" << value << "'\n";
        return std::nullopt;
      }
      options.service.rateLimit = *limit;
    } else {
      if (value.empty()) {
        std::cerr << "kovrin-results: --admin-token must not be empty\n";
        return std::nullopt;
      }
      options.service.adminToken = value;
    }
  }
  return options;
}

}  // namespace

int main(int argc, char* argv[]) {
  int exitCode = 0;
  std::optional<Options> options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc), exitCode);
  if (!options) return exitCode;
  options->service.knownVersions = {kovrin::submit::VersionText()};

  // SIGINT and SIGTERM are taken by one thread of their own, which stops the
  // server; the workers started below inherit the blocked set.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  std::optional<Store> store;
  try {
    store.emplace(OpenDatabase(options->db));
  } catch (const StoreError& e) {
    std::cerr << "kovrin-results: " << e.what() << "\n";
    return 1;
  }

  httplib::Server server;
  server.new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
  server.set_read_timeout(kTimeoutSeconds, 0);
  server.set_write_timeout(kTimeoutSeconds, 0);
  server.set_keep_alive_timeout(kTimeoutSeconds);
  ResultsService service(*store, options->service);
  service.Install(server);

  // Debian's cpp-httplib (0.11) listens with a backlog of 5: a burst of a
  // few dozen clients overflows it, and the dropped connections wait for
  // TCP's retransmission, a second or more. The listening socket is noted
  // as it is made, and its backlog raised once it listens.
  int listener = -1;
  server.set_socket_options([&listener](int socket) {
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    listener = socket;
  });
  int port = options->port;
  if (port == 0) {
    port = server.bind_to_any_port(options->host);
  } else if (!server.bind_to_port(options->host, port)) {
    port = -1;
  }
  if (port < 0) {
    std::cerr << "kovrin-results: cannot listen on " << options->host << ":" << options->port << "\n";
    return 1;
  }
  if (listener >= 0) ::listen(listener, SOMAXCONN);
  std::cout << "kovrin-results: listening on http://" << options->host << ":" << port << std::endl;

  std::thread stopper([&server, &signals] {
    int signal = 0;
    sigwait(&signals, &signal);
    server.stop();
  });
  const bool served = server.listen_after_bind();
  if (!served) {
    // The stopper still waits for its signal: give it one.
    pthread_kill(stopper.native_handle(), SIGTERM);
  }
  stopper.join();
  std::cout << "kovrin-results: stopped" << std::endl;
  return served ? 0 : 1;
}
