// One launcher per folder.
//
// Two launchers working in one folder overwrite each other's config.cfg and
// take each other's results.fps, and both report a benchmark that neither
// ran. Each launcher therefore holds an exclusive lock on a file in its
// working folder from before it touches the first hand-off file until it
// ends; a second one finds the lock held and runs nothing there.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kovrin::launcher {

// The lock file. It stays in the folder after the launcher has ended:
// removing it would let a third launcher lock a new file while a second one
// still holds the old, unlinked one.
inline constexpr std::string_view kLockFile = "kovrin.lock";

class FolderLock {
 public:
  // Tries once, without waiting.
  explicit FolderLock(const std::filesystem::path& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  bool Held() const { return fd_ >= 0; }
  // Why the lock is not held, as a sentence for the user: another launcher
  // holds it, or the lock file cannot be used.
  const std::string& Problem() const { return problem_; }

 private:
  int fd_ = -1;
  std::string problem_;
};

}  // namespace kovrin::launcher
