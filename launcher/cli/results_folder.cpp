#include "launcher/cli/results_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "launcher/cli/work_folder.h"

namespace kovrin::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxRendererChars = 60;
// Enough for any number of saves within one second; beyond it something is wrong.
constexpr int kMaxSuffix = 1000;

bool Kept(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
}

// O_EXCL: the check for an existing file and the creation are one step.
bool WriteNew(const fs::path& path, std::string_view bytes, int& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = errno;
    return false;
  }
  bool written = true;
  while (!bytes.empty() && written) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : EIO;
      written = false;
    } else {
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
  }
  if (::close(fd) != 0 && written) {
    error = errno;
    written = false;
  }
  // A half-written result would later pass for the newest one.
  if (!written) ::unlink(path.c_str());
  return written;
}

}  // namespace

fs::path ResultsFolder(std::string_view xdgDataHome, std::string_view home) {
  const fs::path run = PerUserFolder(xdgDataHome, home);
  return run.empty() ? fs::path() : run.parent_path() / "results";
}

fs::path ResultsFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  return ResultsFolder(xdg ? xdg : "", home ? home : "");
}

std::string FileNameRenderer(std::string_view renderer) {
  std::string name;
  for (const char c : renderer) {
    if (Kept(c)) {
      name += c;
    } else if (!name.empty() && name.back() != '-') {
      name += '-';
    }
  }
  if (name.size() > kMaxRendererChars) name.resize(kMaxRendererChars);
  while (!name.empty() && (name.back() == '-' || name.back() == '.')) name.pop_back();
  // A leading dot would hide the file; a leading dash reads as an option.
  while (!name.empty() && (name.front() == '-' || name.front() == '.')) name.erase(0, 1);
  return name.empty() ? "unknown" : name;
}

std::string ResultFileStem(std::string_view utcStamp, std::string_view renderer) {
  return std::string(utcStamp) + "-" + FileNameRenderer(renderer);
}

std::optional<fs::path> SaveNewResult(const fs::path& folder, const std::string& stem, std::string_view bytes,
                                      std::string& error) {
  if (folder.empty()) {
    error = "no folder for results: neither XDG_DATA_HOME nor HOME is set";
    return std::nullopt;
  }
  std::error_code made;
  fs::create_directories(folder, made);
  if (made) {
    error = "cannot create " + folder.string() + ": " + made.message();
    return std::nullopt;
  }
  for (int suffix = 1; suffix <= kMaxSuffix; ++suffix) {
    const fs::path path = folder / (stem + (suffix == 1 ? "" : "-" + std::to_string(suffix)) + ".json");
    int number = 0;
    if (WriteNew(path, bytes, number)) return path;
    if (number != EEXIST) {
      error = "cannot write " + path.string() + ": " + std::strerror(number);
      return std::nullopt;
    }
  }
  error = "cannot write a new result in " + folder.string() + ": " + std::to_string(kMaxSuffix) + " files named " +
          stem + " already exist";
  return std::nullopt;
}

std::vector<fs::path> SavedResults(const fs::path& folder) {
  struct Entry {
    fs::file_time_type time;
    fs::path path;
  };
  std::vector<Entry> entries;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->path().extension() != ".json" || !it->is_regular_file(error)) continue;
    const fs::file_time_type time = it->last_write_time(error);
    if (!error) entries.push_back({time, it->path()});
    error.clear();
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.time != b.time ? a.time > b.time : a.path.filename() > b.path.filename();
  });
  std::vector<fs::path> paths;
  for (Entry& entry : entries) paths.push_back(std::move(entry.path));
  return paths;
}

std::optional<fs::path> ResolveResultName(std::string_view name, const fs::path& folder, std::string& error) {
  const std::size_t index = name == "last" ? 0 : name == "previous" ? 1 : 2;
  if (index == 2) return fs::path(name);
  const std::vector<fs::path> saved = SavedResults(folder);
  if (saved.size() > index) return saved[index];
  error = "'" + std::string(name) + "' names the " + (index == 0 ? "newest" : "second newest") + " result saved in " +
          folder.string() + ", which holds " + std::to_string(saved.size()) + " (kovrin --headless --save adds one)";
  return std::nullopt;
}

}  // namespace kovrin::cli
