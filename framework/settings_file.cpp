#include "settings_file.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "platform.h"

SettingsRecord Settings;
std::string WindowTitle;

namespace {

constexpr std::size_t kMaxLineLength = 1022;

void ApplyTo(const std::string& key, const std::string& value, const ProgramProfile& profile,
             SettingsRecord& settings, std::string& title) {
  // The value goes into the title as written; only the field gets the number.
  if (key == "GL_RESX") {
    settings.ResX = SaturatingAtoi(value);
    title = std::string(profile.titlePrefix) + value + profile.afterResX;
  }
  if (key == "GL_RESY") {
    settings.ResY = SaturatingAtoi(value);
    title += std::string(profile.beforeResY) + value + "  ";
  }
  if (key == "GL_BITDEPTH") {
    settings.BitDepth = SaturatingAtoi(value);
    title += value + " bpp";
  }
}

}  // namespace

void ResetSettings(const ProgramProfile& profile) {
  Settings = SettingsRecord{profile.defaultResX, profile.defaultResY, profile.defaultBitDepth, true};
  WindowTitle = profile.initialTitle;
}

int32_t SaturatingAtoi(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate toward the sign so that the most negative value is reachable.
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
  int64_t value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    const int digit = text[i] - '0';
    value = negative ? value * 10 - digit : value * 10 + digit;
    if (value > kMax) return static_cast<int32_t>(kMax);
    if (value < kMin) return static_cast<int32_t>(kMin);
  }
  return static_cast<int32_t>(value);
}

std::string JoinTextLines(std::string_view bytes) {
  std::string text;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    const bool terminated = end != std::string_view::npos;
    if (!terminated) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (terminated && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxLineLength) break;  // the reader's buffer ends the text here
    text.append(line);
    text += ' ';
    start = end + 1;
  }
  return text;
}

std::string ReadTextFile(std::string name) {
  std::error_code ec;
  std::ifstream file;
  // A folder opens as a stream here but is no text file to read.
  if (!std::filesystem::is_directory(name, ec)) file.open(name, std::ios::binary);
  if (!file.is_open()) {
    const int answer = plat::MessageBox("Fehler beim Laden von " + name + "!\nFortfahren?", WindowTitle,
                                        plat::MB_YESNO | plat::MB_ICONEXCLAMATION | plat::MB_DEFBUTTON2);
    if (answer == plat::IDNO) std::exit(1);
    return {};
  }
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return JoinTextLines(bytes);
}

int ParseSettingsInto(std::string_view text, const ProgramProfile& profile, SettingsRecord& settings,
                      std::string& title) {
  std::string key;
  std::string value;
  bool inValue = false;
  for (const char c : text) {
    if (c == ';') {
      inValue = false;
      ApplyTo(key, value, profile, settings, title);
      key.clear();
      value.clear();
    } else if (c == '=') {
      inValue = true;
    } else if (c == ' ') {
      continue;
    } else {
      (inValue ? value : key) += c;
    }
  }
  return 1;
}

int ParseSettings(std::string text) { return ParseSettingsInto(text, kProgram, Settings, WindowTitle); }

int ApplySetting(std::string key, std::string value) {
  ApplyTo(key, value, kProgram, Settings, WindowTitle);
  return 1;
}

int LoadSettings() {
  const std::string text = ReadTextFile("config.cfg");
  ParseSettings(text);
  return 1;
}
