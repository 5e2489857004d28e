// Shared helpers of the launcher tests: file access (the scratch folder is
// the tests' common one).
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "tests/support/scratch_folder.h"

namespace kovrin::test::launcher {

using kovrin::test::ScratchFolder;
using kovrin::test::WriteFile;

inline std::optional<std::string> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::filesystem::path& file) {
  std::error_code ignored;
  return std::filesystem::exists(file, ignored);
}

// Makes a file read-only the way a user does (chmod a-w).
inline void MakeReadOnly(const std::filesystem::path& file) { ::chmod(file.c_str(), S_IRUSR | S_IRGRP | S_IROTH); }

}  // namespace kovrin::test::launcher
