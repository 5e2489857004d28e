// The command line on arbitrary arguments (the input split at NUL bytes):
// parsing never fails outright, and a headless run it accepts has a usable
// time-out.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "launcher/cli/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[i]);
    }
  }
  const kovrin::cli::CommandLine line = kovrin::cli::ParseCommandLine(args);
  if (line.action == kovrin::cli::CommandLine::Action::Headless &&
      (line.timeoutSeconds < 1 || line.timeoutSeconds > 24 * 60 * 60 || (line.jsonFile && line.jsonFile->empty()))) {
    __builtin_trap();
  }
  if (line.action == kovrin::cli::CommandLine::Action::Error && line.error.empty()) __builtin_trap();
  return 0;
}
