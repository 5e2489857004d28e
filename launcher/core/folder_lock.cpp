#include "launcher/core/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kovrin::launcher {

FolderLock::FolderLock(const std::filesystem::path& folder) {
  const std::filesystem::path file = folder / kLockFile;
  // Not inherited by the test programs: the lock is the launcher's, and a
  // program left behind must not keep the folder locked. O_NONBLOCK and
  // O_NOFOLLOW for the same reasons as the hand-off files.
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, 0644);
  if (fd < 0) {
    problem_ = "cannot use the lock file " + file.string() + ": " + std::strerror(errno);
    return;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    problem_ = "cannot use the lock file " + file.string() + ": it is not a regular file";
    return;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    problem_ = error == EWOULDBLOCK ? "another kovrin is already running in " + folder.string() +
                                          "; only one launcher at a time may run the benchmark in a folder"
                                    : "cannot lock " + file.string() + ": " + std::strerror(error);
    return;
  }
  fd_ = fd;
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace kovrin::launcher
