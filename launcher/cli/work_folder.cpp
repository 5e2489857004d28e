#include "work_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace cli {
namespace fs = std::filesystem;
namespace {

bool Writable(const fs::path& folder) { return ::access(folder.c_str(), W_OK | X_OK) == 0; }

bool SharedInstallation(const fs::path& folder) {
  std::error_code ignored;
  return fs::exists(folder / kSharedInstallMarker, ignored);
}

// Points `link` at `target`, replacing an older link but nothing else.
std::string PlaceLink(const fs::path& link, const fs::path& target) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(link, error);
  if (fs::is_symlink(status)) {
    if (fs::read_symlink(link, error) == target) return {};
    fs::remove(link, error);
    if (error) return "cannot replace the link " + link.string() + ": " + error.message();
  } else if (fs::exists(status)) {
    return link.string() + " is in the way of the link to " + target.string() + "; move it elsewhere";
  }
  fs::create_symlink(target, link, error);
  if (error) return "cannot link " + link.string() + " to " + target.string() + ": " + error.message();
  return {};
}

}  // namespace

fs::path PerUserFolder(std::string_view xdgDataHome, std::string_view home) {
  fs::path base;
  if (!xdgDataHome.empty() && xdgDataHome.front() == '/') {
    base = fs::path(xdgDataHome);
  } else if (!home.empty()) {
    base = fs::path(home) / ".local" / "share";
  } else {
    return {};
  }
  return base / "kovrin" / "run";
}

WorkFolder ChooseWorkFolder(const fs::path& launcherFolder, const fs::path& perUserFolder) {
  WorkFolder result;
  if (!SharedInstallation(launcherFolder) && Writable(launcherFolder)) {
    result.path = launcherFolder;
    return result;
  }
  if (perUserFolder.empty()) {
    result.error = launcherFolder.string() + " cannot hold the hand-off files and there is no per-user folder "
                                             "(neither XDG_DATA_HOME nor HOME is set)";
    return result;
  }
  std::error_code error;
  fs::create_directories(perUserFolder, error);
  if (error || !Writable(perUserFolder)) {
    result.error = "cannot use the working folder " + perUserFolder.string() +
                   (error ? ": " + error.message() : ": not writable");
    return result;
  }
  for (std::string_view entry : kRunFolderEntries) {
    if (std::string problem = PlaceLink(perUserFolder / entry, launcherFolder / entry); !problem.empty()) {
      result.error = std::move(problem);
      return result;
    }
  }
  result.path = perUserFolder;
  result.perUser = true;
  return result;
}

WorkFolder ChooseWorkFolder(const fs::path& launcherFolder) {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  return ChooseWorkFolder(launcherFolder, PerUserFolder(xdg ? xdg : "", home ? home : ""));
}

}  // namespace cli
