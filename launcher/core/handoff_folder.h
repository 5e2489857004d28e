// The launcher's side of the two hand-off files: the folder they live in.
//
// The sequence reaches the file system only through this interface, so a
// driver can run it against any folder and tests can see every operation.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kovrin::launcher {

inline constexpr std::string_view kConfigFile = "config.cfg";
inline constexpr std::string_view kResultFile = "results.fps";

class HandoffFolder {
 public:
  virtual ~HandoffFolder() = default;
  // The file's first bytes (a result file is a few bytes), or nullopt when it
  // cannot be opened or is no regular file (a FIFO, a device, a link): such a
  // file is one that is not there yet. The file is closed again before this
  // returns; nothing here ever waits.
  virtual std::optional<std::string> Read(std::string_view name) = 0;
  // Creates the file or empties it, writes the bytes and closes it. False when
  // any of that fails, and when the name is taken by anything but a regular
  // file with no other name (a link is never written through).
  virtual bool Write(std::string_view name, std::string_view bytes) = 0;
  // Deletes the file. False when it is missing, read-only or cannot be removed.
  virtual bool Remove(std::string_view name) = 0;
};

// The hand-off files in a folder on disk.
//
// A read-only file is one whose owner may not write it (no S_IWUSR bit): the
// counterpart of the read-only attribute a user sets on a file. Removing such
// a file fails here even though the folder would let it be unlinked, because
// the strict clean-up must refuse a result file someone protected from it.
// The test looks at the mode bits, not at access(), so the rule holds for
// every user, root included.
class DiskFolder final : public HandoffFolder {
 public:
  explicit DiskFolder(std::filesystem::path folder);
  const std::filesystem::path& Path() const { return folder_; }

  std::optional<std::string> Read(std::string_view name) override;
  bool Write(std::string_view name, std::string_view bytes) override;
  bool Remove(std::string_view name) override;

  // More than any result line needs; a planted large file is not read whole.
  static constexpr std::size_t kReadLimit = 4096;

 private:
  std::filesystem::path folder_;
};

}  // namespace kovrin::launcher
