#include "launcher/cli/work_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <string_view>
#include <system_error>

namespace kovrin::cli {
namespace fs = std::filesystem;
namespace {

bool Writable(const fs::path& folder) { return ::access(folder.c_str(), W_OK | X_OK) == 0; }

bool SharedInstallation(const fs::path& folder) {
  std::error_code ignored;
  return fs::exists(folder / kSharedInstallMarker, ignored);
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool ValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    std::size_t length = 1;
    unsigned char low = 0x80, high = 0xBF;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const unsigned char c = byte(i + k);
      if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

// The name with every byte that is not printable ASCII written as \xNN, so
// that it can be shown whatever it holds.
std::string Shown(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      shown += c;
    } else {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0xF];
    }
  }
  return shown;
}

// The launcher hands its folder to Qt and to the test programs' processes as
// text; a name that is not UTF-8 would come back as another folder's name.
std::string UnnamableFolder(const fs::path& folder, std::string_view what) {
  if (folder.empty() || !folder.is_absolute()) {
    return "cannot tell the " + std::string(what) + " (\"" + Shown(folder.native()) + "\")";
  }
  if (!ValidUtf8(folder.native())) {
    return "the name of the " + std::string(what) + " \"" + Shown(folder.native()) +
           "\" is not valid UTF-8; move Kovrin to a folder whose name is";
  }
  return {};
}

// Points `link` at `target`, replacing an older link but nothing else.
std::string PlaceLink(const fs::path& link, const fs::path& target) {
  if (link.lexically_normal() == target.lexically_normal()) {
    return "will not link " + link.string() + " to itself";
  }
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
  if (std::string problem = UnnamableFolder(launcherFolder, "launcher's folder"); !problem.empty()) {
    result.error = std::move(problem);
    return result;
  }
  if (!SharedInstallation(launcherFolder) && Writable(launcherFolder)) {
    result.path = launcherFolder;
    return result;
  }
  if (perUserFolder.empty()) {
    result.error = launcherFolder.string() +
                   " cannot hold the hand-off files and there is no per-user folder "
                   "(neither XDG_DATA_HOME nor HOME is set)";
    return result;
  }
  if (std::string problem = UnnamableFolder(perUserFolder, "per-user working folder"); !problem.empty()) {
    result.error = std::move(problem);
    return result;
  }
  std::error_code error;
  fs::create_directories(perUserFolder, error);
  if (error || !Writable(perUserFolder)) {
    result.error =
        "cannot use the working folder " + perUserFolder.string() + (error ? ": " + error.message() : ": not writable");
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

fs::path ExecutableFolder() {
  std::error_code error;
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return executable.parent_path();
}

WorkFolder ChooseWorkFolder(const fs::path& launcherFolder) {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  return ChooseWorkFolder(launcherFolder, PerUserFolder(xdg ? xdg : "", home ? home : ""));
}

std::string WorkingNotice(const WorkFolder& folder, std::string_view home) {
  if (!folder.perUser || folder.path.empty()) return {};
  std::string shown = folder.path.string();
  while (home.size() > 1 && home.back() == '/') home.remove_suffix(1);
  if (home.size() > 1 && shown.starts_with(home) && (shown.size() == home.size() || shown[home.size()] == '/')) {
    shown = "~" + shown.substr(home.size());
  }
  return "Working in " + shown;
}

}  // namespace kovrin::cli
