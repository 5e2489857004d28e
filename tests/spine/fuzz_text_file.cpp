// The text-file reader on arbitrary bytes: read through a real file
// descriptor, and fed to the line joiner in pieces of every size, the text
// must be the same, must never hold a line end, and must not grow beyond the
// bytes it came from (each line end becomes one space; only a last line
// without one gains a byte).
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "framework/settings_file.h"

using kovrin::framework::JoinTextLines;
using kovrin::framework::TextLineJoiner;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// A regular file with exactly these bytes, known to the reader by a name.
std::string ReadThroughFile(std::string_view bytes) {
  const int fd = ::memfd_create("text", MFD_CLOEXEC);
  Check(fd >= 0);
  Check(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
  std::string text = ReadTextFile("/proc/self/fd/" + std::to_string(fd));
  ::close(fd);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the piece size, the rest is the file.
  const std::size_t piece = data[0] % 64 + 1;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  const std::string whole = JoinTextLines(bytes);
  Check(whole.size() <= bytes.size() + 1);
  Check(whole.find('\n') == std::string::npos);

  TextLineJoiner joiner;
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    if (!joiner.Feed(bytes.substr(at, piece))) break;
  }
  Check(joiner.Finish() == whole);

  Check(ReadThroughFile(bytes) == whole);
  return 0;
}
