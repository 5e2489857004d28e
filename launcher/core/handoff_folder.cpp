#include "launcher/core/handoff_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace kovrin::launcher {

namespace {

// Closes the descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  Descriptor& operator=(Descriptor&&) = delete;
  int Get() const { return fd_; }
  // Closes now and tells whether the close succeeded (a write may report late).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// A FIFO or device planted under a hand-off name must neither block the open
// nor be read or written: O_NONBLOCK makes the open return at once, and only
// a regular file is used after it. A final symbolic link is not followed, so
// nothing outside the folder is reached through one; a file with a second
// hard link is refused for the same reason.
Descriptor OpenRegular(const std::string& path, int flags) {
  Descriptor file(::open(path.c_str(), flags | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0666));
  if (file.Get() < 0) return file;
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink > 1) {
    return Descriptor(-1);
  }
  // Reads and writes of a regular file never block; the flag is dropped so
  // that a short write cannot come from it.
  ::fcntl(file.Get(), F_SETFL, ::fcntl(file.Get(), F_GETFL) & ~O_NONBLOCK);
  return file;
}

}  // namespace

DiskFolder::DiskFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::optional<std::string> DiskFolder::Read(std::string_view name) {
  Descriptor file = OpenRegular((folder_ / name).string(), O_RDONLY);
  if (file.Get() < 0) return std::nullopt;
  std::string bytes(kReadLimit, '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(file.Get(), bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

// Truncated only once it is known to be a regular file of the folder's own.
bool DiskFolder::Write(std::string_view name, std::string_view bytes) {
  Descriptor file = OpenRegular((folder_ / name).string(), O_WRONLY | O_CREAT);
  if (file.Get() < 0 || ::ftruncate(file.Get(), 0) != 0) return false;
  while (!bytes.empty()) {
    const ssize_t n = ::write(file.Get(), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return file.Close();
}

bool DiskFolder::Remove(std::string_view name) {
  const std::string path = (folder_ / name).string();
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return false;
  if (!S_ISLNK(info.st_mode) && (info.st_mode & S_IWUSR) == 0) return false;
  return ::unlink(path.c_str()) == 0;
}

}  // namespace kovrin::launcher
