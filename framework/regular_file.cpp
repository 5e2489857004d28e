#include "framework/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovrin::framework {
namespace {

// Non-blocking, so that a FIFO neither waits for its other end nor is kept.
// A file to be written must also have no second name: through a hard link
// the write would change a file elsewhere, as a symlink would.
int KeepIfRegular(int fd, bool onlyName) {
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || (onlyName && info.st_nlink > 1)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

int OpenRegularFileForReading(const std::string& name) {
  return KeepIfRegular(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), false);
}

int OpenRegularFileForWriting(const std::string& name) {
  // Opened without O_TRUNC: whatever is not a regular file is left as it is.
  const int fd =
      KeepIfRegular(::open(name.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666), true);
  if (fd >= 0 && ::ftruncate(fd, 0) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace kovrin::framework
