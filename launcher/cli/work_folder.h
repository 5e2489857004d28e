// Where the launcher keeps its hand-off files and starts the test programs.
//
// The test programs find config.cfg, results.fps, default.fnt and data/ by
// bare name in their working folder, so the launcher needs a folder it may
// write that also holds the programs and their data. Its own folder is that
// folder unless it is a shared installation (a package's system folder, marked
// by kSharedInstallMarker) or the user cannot write it; then a per-user
// working folder stands in, holding symbolic links to the programs, default.fnt
// and data/ beside the user's own hand-off files.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kovrin::cli {

// The file whose presence in the launcher's folder says: nobody's hand-off
// files belong here.
inline constexpr std::string_view kSharedInstallMarker = "shared-installation";

// What the per-user folder links to in the launcher's folder.
inline constexpr std::string_view kRunFolderEntries[] = {"Quillfire", "Lumavane", "default.fnt", "data"};

struct WorkFolder {
  std::filesystem::path path;  // empty when no usable folder was found
  bool perUser = false;        // true when not the launcher's own folder
  std::string error;           // why there is no folder
};

// The per-user folder: $XDG_DATA_HOME/kovrin/run when that is an absolute path,
// otherwise $HOME/.local/share/kovrin/run; empty when neither is known.
std::filesystem::path PerUserFolder(std::string_view xdgDataHome, std::string_view home);

// The launcher's own folder when it may hold the hand-off files, otherwise
// `perUserFolder`, created if need be, with its links pointing at the
// launcher's folder. Links left from another installation are replaced; any
// other file in the way of a link is an error rather than something to delete.
WorkFolder ChooseWorkFolder(const std::filesystem::path& launcherFolder, const std::filesystem::path& perUserFolder);

// Either folder refused when its name is empty, relative or not valid UTF-8:
// the error says so, and nothing is created or linked.

// The folder of the running executable as the system names it, byte for
// byte; empty when it cannot be told.
std::filesystem::path ExecutableFolder();

// The same for this process, from its environment.
WorkFolder ChooseWorkFolder(const std::filesystem::path& launcherFolder);

// The line that tells a user at a terminal where a per-user folder is:
// "Working in ~/.local/share/kovrin/run", the home folder shown as ~. Empty
// for the launcher's own folder, which is where the user looks anyway.
std::string WorkingNotice(const WorkFolder& folder, std::string_view home);

}  // namespace kovrin::cli
