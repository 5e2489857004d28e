// The one scratch folder of the tests: a fresh folder under the system's
// temporary folder that goes with the object, whatever the test left in it
// (read-only files and folders included). A test run leaves nothing behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kovrin::test {

class ScratchFolder {
 public:
  // Made with mkdtemp as <temp>/kovrin-test-XXXXXX; throws std::runtime_error
  // when it cannot be made, so that no test runs in a folder it does not own.
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(ScratchFolder&& other) noexcept;
  ScratchFolder& operator=(ScratchFolder&& other) noexcept;
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string String() const { return path_.string(); }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
  // Removes the folder now; afterwards Path() is empty.
  void Remove();

 private:
  std::filesystem::path path_;
};

// Writes `bytes` to `path` as they are, replacing what was there.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
// The bytes of `path` as they are; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

}  // namespace kovrin::test
