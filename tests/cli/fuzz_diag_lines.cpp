// A test program's output on arbitrary bytes, in reads of arbitrary sizes:
// no line passed on is longer than the cap, and the diagnostics reader takes
// any line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "launcher/cli/line_reader.h"
#include "launcher/cli/run_mode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte sets the size of the reads, as a pipe would cut them.
  const std::size_t chunk = 1 + data[0] * 37;
  std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  kovrin::cli::RunMode mode;
  const kovrin::cli::LineReader::Sink take = [&mode](std::string_view line) {
    if (line.size() > kovrin::cli::LineReader::kMaxLine) __builtin_trap();
    kovrin::cli::TakeDiagLine(line, mode);
  };
  kovrin::cli::LineReader reader;
  while (!bytes.empty()) {
    const std::string_view part = bytes.substr(0, chunk);
    reader.Feed(part, take);
    bytes.remove_prefix(part.size());
  }
  reader.Finish(take);
  return 0;
}
