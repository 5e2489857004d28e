// The submission page: one line of HTML with a form that posts the score to
// the results site, written as the file `submit` into a private folder of
// its own in the launcher's folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "launcher/submit/checksum.h"
#include "launcher/submit/results_site.h"

namespace kovrin::submit {

inline constexpr std::string_view kPageFileName = "submit";

// What the page carries besides its fixed text.
struct SubmitPageValues {
  ResultsSite site;
  std::string versionText;  // "1_0_54" for version 1.0.54
  std::string resultText;   // the score as displayed, without " fps"
  std::string checksum;
};

// Major, minor and revision joined by "_".
std::string VersionText(int major, int minor, int revision);
// The version text of this build, from the version the build system passes in.
std::string VersionText();

// The displayed score caption without its last 4 characters (the " fps").
// A caption of 4 characters or fewer gives the empty text.
std::string ResultText(std::string_view scoreCaption);

// The page as one line, without line end. Attribute values are written
// without quotation marks.
std::string SubmitPageText(const SubmitPageValues& values);

// The page file's content: the page in ISO-8859-1, then CR LF.
std::string SubmitPageFileBytes(std::string_view pageText);

// Builds the page for the score shown in `scoreCaption` (UTF-8) and `result`,
// drawing its checksum from `generator`, and writes it as the file `submit`
// into a new folder in `folder` that only this user can enter (mode 0700,
// "submit-" and six random characters); the file is created there, never
// opened through a link or a pipe. Returns the file's path. Throws
// std::system_error when the folder or the file cannot be written, leaving
// nothing behind.
std::filesystem::path CreateHTML(const std::filesystem::path& folder, std::string_view scoreCaption,
                                 std::int32_t result, ChecksumGenerator& generator, const ResultsSite& site);

// Deletes a page file that CreateHTML made, and its folder. A file that is
// already gone, or that cannot be deleted, is left as it is: nothing is
// reported. An empty path does nothing.
void DeleteSubmitPage(const std::filesystem::path& pageFile) noexcept;

}  // namespace kovrin::submit
