// config.cfg: the settings a test program runs with, and the shared reader of
// text files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/program_profile.h"

namespace kovrin::framework {

struct SettingsRecord {
  int32_t ResX = 0;
  int32_t ResY = 0;
  int32_t BitDepth = 0;
  bool Fullscreen = true;
};

}  // namespace kovrin::framework

extern kovrin::framework::SettingsRecord Settings;
extern std::string WindowTitle;

namespace kovrin::framework {

// Process start state of Settings and WindowTitle for a program.
void ResetSettings(const ProgramProfile& profile);

}  // namespace kovrin::framework

int LoadSettings();
std::string ReadTextFile(std::string name);
int ParseSettings(std::string text);
int ApplySetting(std::string key, std::string value);

namespace kovrin::framework {

// The same syntax on explicit state, for callers other than the program itself.
int ParseSettingsInto(std::string_view text, const ProgramProfile& profile, SettingsRecord& settings,
                      std::string& title);

// Leading white space, optional sign, decimal digits up to the first other
// character, no digits gives 0; values beyond 32 bits saturate at the limits.
int32_t SaturatingAtoi(std::string_view text);

// Joins lines as the reader does: each line followed by one space; a line
// longer than 1022 characters ends the text there.
std::string JoinTextLines(std::string_view fileBytes);

// The most ReadTextFile reads of one file. A settings file or a texture list
// is a few hundred bytes; the limit keeps a huge or endless file from costing
// more than this.
inline constexpr std::size_t kMaxTextFileBytes = std::size_t{1} << 20;

// JoinTextLines over bytes that arrive piece by piece, holding no more of a
// line than the reader's 1023-character line buffer would.
class TextLineJoiner {
 public:
  // False once an over-long line has ended the text: later bytes change
  // nothing and need not be read.
  bool Feed(std::string_view bytes);
  // The file ended: a last line without a line end counts like any other.
  std::string Finish();
  // The reading stopped before the file's end: a line not yet ended may be
  // cut anywhere, so it is dropped.
  std::string Cut();

 private:
  void EndLine();
  void Stop();

  std::string text_;
  std::string line_;  // at most 1023 bytes: 1022 characters and a CR
  bool done_ = false;
};

}  // namespace kovrin::framework
