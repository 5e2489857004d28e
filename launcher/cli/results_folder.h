// The results folder: where --save keeps each result, and which files
// "last" and "previous" name for --compare.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin::cli {

// $XDG_DATA_HOME/kovrin/results when that is an absolute path, otherwise
// $HOME/.local/share/kovrin/results; empty when neither is known.
std::filesystem::path ResultsFolder(std::string_view xdgDataHome, std::string_view home);
// The same for this process, from its environment.
std::filesystem::path ResultsFolder();

// The renderer as part of a file name: letters, digits, '.', '_' and '-'
// kept, every other run of characters one '-', at most 60 characters;
// "unknown" when nothing is left.
std::string FileNameRenderer(std::string_view renderer);

// "2026-12-08T013022Z-llvmpipe-LLVM-15.0.6-256-bits": the UTC finish time and the renderer.
std::string ResultFileStem(std::string_view utcStamp, std::string_view renderer);

// Writes `bytes` into `folder`/`stem`.json, or, when that exists, into the
// first free `stem`-2.json, -3, ...; never over an existing file, whoever made
// it in the meantime. The folder is created if need be. The path written, or
// nullopt with the reason in `error`.
std::optional<std::filesystem::path> SaveNewResult(const std::filesystem::path& folder, const std::string& stem,
                                                   std::string_view bytes, std::string& error);

// The .json files of the folder, newest first (by modification time, then
// by name); empty when there is no folder.
std::vector<std::filesystem::path> SavedResults(const std::filesystem::path& folder);

// "last" and "previous" name the newest and the second newest saved result;
// any other name is a file name and stays as it is. Nullopt with the reason
// in `error` when the folder holds too few results.
std::optional<std::filesystem::path> ResolveResultName(std::string_view name, const std::filesystem::path& folder,
                                                       std::string& error);

}  // namespace kovrin::cli
