#include "handoff_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <utility>

namespace launcher {

DiskFolder::DiskFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::optional<std::string> DiskFolder::Read(std::string_view name) {
  std::ifstream in(folder_ / name, std::ios::binary);
  if (!in.is_open()) return std::nullopt;
  std::string bytes(kReadLimit, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

bool DiskFolder::Write(std::string_view name, std::string_view bytes) {
  std::ofstream out(folder_ / name, std::ios::binary | std::ios::trunc);
  if (!out.is_open()) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

bool DiskFolder::Remove(std::string_view name) {
  const std::string path = (folder_ / name).string();
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return false;
  if (!S_ISLNK(info.st_mode) && (info.st_mode & S_IWUSR) == 0) return false;
  return ::unlink(path.c_str()) == 0;
}

}  // namespace launcher
