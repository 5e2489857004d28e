#include "tests/support/scratch_folder.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace kovrin::test {

namespace {

// Gives the owner back what removal needs, folders before their contents:
// a folder without read or execute permission cannot be listed.
void MakeRemovable(const fs::path& path) {
  std::error_code ignored;
  const fs::file_status status = fs::symlink_status(path, ignored);
  if (fs::is_symlink(status)) return;  // its target is not ours to change
  if (fs::is_directory(status)) {
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (fs::directory_iterator it(path, ignored), end; it != end; it.increment(ignored)) MakeRemovable(it->path());
  } else {
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ignored);
  }
}

}  // namespace

ScratchFolder::ScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "kovrin-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a scratch folder like " + pattern);
  }
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() { Remove(); }

ScratchFolder::ScratchFolder(ScratchFolder&& other) noexcept : path_(std::exchange(other.path_, {})) {}

ScratchFolder& ScratchFolder::operator=(ScratchFolder&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::exchange(other.path_, {});
  }
  return *this;
}

void ScratchFolder::Remove() {
  if (path_.empty()) return;
  MakeRemovable(path_);
  std::error_code ignored;
  fs::remove_all(path_, ignored);
  path_.clear();
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace kovrin::test
