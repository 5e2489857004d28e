#include "framework/settings_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <limits>

#include "framework/regular_file.h"
#include "platform/platform.h"

kovrin::framework::SettingsRecord Settings;
std::string WindowTitle;

namespace kovrin::framework {
namespace {

constexpr std::size_t kMaxLineLength = 1022;

void ApplyTo(const std::string& key, const std::string& value, const ProgramProfile& profile, SettingsRecord& settings,
             std::string& title) {
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

bool TextLineJoiner::Feed(std::string_view bytes) {
  for (const char c : bytes) {
    if (done_) break;
    if (c == '\n') {
      EndLine();
    } else if (line_.size() > kMaxLineLength) {
      // The buffer is full (a longest line and its CR): one more byte makes
      // the line too long, whatever follows.
      Stop();
    } else {
      line_ += c;
    }
  }
  return !done_;
}

void TextLineJoiner::EndLine() {
  if (!line_.empty() && line_.back() == '\r') line_.pop_back();
  if (line_.size() > kMaxLineLength) {
    Stop();
    return;
  }
  text_.append(line_);
  text_ += ' ';
  line_.clear();
}

void TextLineJoiner::Stop() {
  done_ = true;
  line_.clear();
}

std::string TextLineJoiner::Finish() {
  // Without its line end a trailing CR stays a character of the line.
  if (!done_ && !line_.empty() && line_.size() <= kMaxLineLength) {
    text_.append(line_);
    text_ += ' ';
  }
  Stop();
  return std::move(text_);
}

std::string TextLineJoiner::Cut() {
  Stop();
  return std::move(text_);
}

std::string JoinTextLines(std::string_view bytes) {
  TextLineJoiner joiner;
  joiner.Feed(bytes);
  return joiner.Finish();
}

namespace {

// The file's lines through the bounded joiner, never more than
// kMaxTextFileBytes of it.
std::string ReadLines(int fd) {
  TextLineJoiner joiner;
  char chunk[16384];
  std::size_t total = 0;
  bool ended = false;
  while (total < kMaxTextFileBytes) {
    const std::size_t want = std::min(sizeof chunk, kMaxTextFileBytes - total);
    const ssize_t n = ::read(fd, chunk, want);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {  // a read error ends the text as the end of the file would
      ended = true;
      break;
    }
    total += static_cast<std::size_t>(n);
    if (!joiner.Feed(std::string_view(chunk, static_cast<std::size_t>(n)))) break;
  }
  if (!ended) {
    // Exactly at the limit the file may have ended too.
    struct stat info {};
    ended = ::fstat(fd, &info) == 0 && static_cast<uint64_t>(info.st_size) <= total;
  }
  return ended ? joiner.Finish() : joiner.Cut();
}

}  // namespace

}  // namespace kovrin::framework

using kovrin::framework::ApplyTo;
using kovrin::framework::kProgram;
using kovrin::framework::OpenRegularFileForReading;
using kovrin::framework::ParseSettingsInto;
using kovrin::framework::ReadLines;

std::string ReadTextFile(std::string name) {
  const int fd = OpenRegularFileForReading(name);
  if (fd < 0) {
    const int answer = kovrin::platform::MessageBox(
        "Fehler beim Laden von " + name + "!\nFortfahren?", WindowTitle,
        kovrin::platform::MB_YESNO | kovrin::platform::MB_ICONEXCLAMATION | kovrin::platform::MB_DEFBUTTON2);
    if (answer == kovrin::platform::IDNO) std::exit(1);
    return {};
  }
  std::string text = ReadLines(fd);
  ::close(fd);
  return text;
}

namespace kovrin::framework {

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

}  // namespace kovrin::framework

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
