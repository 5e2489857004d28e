// config.cfg: the settings a test program runs with, and the shared reader of
// text files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "program_profile.h"

struct SettingsRecord {
  int32_t ResX = 0;
  int32_t ResY = 0;
  int32_t BitDepth = 0;
  bool Fullscreen = true;
};

extern SettingsRecord Settings;
extern std::string WindowTitle;

// Process start state of Settings and WindowTitle for a program.
void ResetSettings(const ProgramProfile& profile);

int LoadSettings();
std::string ReadTextFile(std::string name);
int ParseSettings(std::string text);
int ApplySetting(std::string key, std::string value);

// The same syntax on explicit state, for callers other than the program itself.
int ParseSettingsInto(std::string_view text, const ProgramProfile& profile,
                      SettingsRecord& settings, std::string& title);

// Leading white space, optional sign, decimal digits up to the first other
// character, no digits gives 0; values beyond 32 bits saturate at the limits.
int32_t SaturatingAtoi(std::string_view text);

// Joins lines as the reader does: each line followed by one space; a line
// longer than 1022 characters ends the text there.
std::string JoinTextLines(std::string_view fileBytes);
