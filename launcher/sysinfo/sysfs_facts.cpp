#include "launcher/sysinfo/sysfs_facts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <set>
#include <sstream>
#include <system_error>

namespace kovrin::sysinfo {
namespace {

namespace fs = std::filesystem;

// The kernel's files are a page or two; more than this is not one of them.
constexpr std::size_t kMaxTextBytes = 64 * 1024;

// The text of a regular file, at most kMaxTextBytes of it; empty for anything
// else. A pipe in place of a kernel file must not stall the report.
std::string ReadText(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return {};
  }
  std::string text;
  struct stat status {};
  if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
    char buffer[4096];
    while (text.size() < kMaxTextBytes) {
      const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, kMaxTextBytes - text.size()));
      if (got < 0 && errno == EINTR) {
        continue;
      }
      if (got <= 0) {
        break;
      }
      text.append(buffer, static_cast<std::size_t>(got));
    }
  }
  ::close(fd);
  return text;
}

template <typename T>
std::optional<T> ParseUnsigned(std::string_view text) {
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end == text.data()) {
    return std::nullopt;
  }
  return value;
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

std::vector<std::string> SortedEntries(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool IsCardName(std::string_view name) {
  return name.size() > 4 && name.substr(0, 4) == "card" &&
         std::all_of(name.begin() + 4, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::uint32_t> ConsoleBitsPerPixel(const fs::path& cardFolder) {
  const fs::path graphics = cardFolder / "device" / "graphics";
  for (const std::string& fb : SortedEntries(graphics)) {
    if (auto bits = ParseUnsigned<std::uint32_t>(Trim(ReadText(graphics / fb / "bits_per_pixel")))) {
      return bits;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::uint64_t> ParseMemAvailable(std::string_view meminfo) {
  constexpr std::string_view kKey = "MemAvailable:";
  std::size_t at = 0;
  while (at < meminfo.size()) {
    std::size_t end = meminfo.find('\n', at);
    if (end == std::string_view::npos) {
      end = meminfo.size();
    }
    const std::string_view line = meminfo.substr(at, end - at);
    at = end + 1;
    if (line.substr(0, kKey.size()) != kKey) {
      continue;
    }
    const std::string_view rest = Trim(line.substr(kKey.size()));
    const std::size_t digits = std::min(rest.find_first_not_of("0123456789"), rest.size());
    const auto kib = ParseUnsigned<std::uint64_t>(rest.substr(0, digits));
    if (!kib || Trim(rest.substr(digits)) != "kB" || *kib > UINT64_MAX / 1024) {
      return std::nullopt;
    }
    return *kib * 1024;
  }
  return std::nullopt;
}

std::optional<std::uint64_t> ReadMemAvailable(const fs::path& meminfo) { return ParseMemAvailable(ReadText(meminfo)); }

std::optional<DisplayMode> ParseKernelModeName(std::string_view line) {
  line = Trim(line);
  if (!line.empty() && line.back() == 'i') {
    line.remove_suffix(1);
  }
  const auto x = line.find('x');
  if (x == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view widthText = line.substr(0, x);
  const std::string_view heightText = line.substr(x + 1);
  const auto width = ParseUnsigned<std::uint32_t>(widthText);
  const auto height = ParseUnsigned<std::uint32_t>(heightText);
  if (!width || !height || widthText.find_first_not_of("0123456789") != std::string_view::npos ||
      heightText.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  DisplayMode mode;
  mode.width = *width;
  mode.height = *height;
  return mode;
}

std::vector<std::string> KernelCards(const fs::path& drmClass) {
  std::vector<std::string> cards;
  for (const std::string& name : SortedEntries(drmClass)) {
    if (IsCardName(name)) {
      cards.push_back(name);
    }
  }
  return cards;
}

bool IsBootVga(const std::string& card, const fs::path& drmClass) {
  return Trim(ReadText(drmClass / card / "device" / "boot_vga")) == "1";
}

std::vector<DisplayMode> KernelModesOfCard(const std::string& card, const fs::path& drmClass) {
  const std::optional<std::uint32_t> bitsPerPixel = ConsoleBitsPerPixel(drmClass / card);
  std::vector<DisplayMode> modes;
  std::set<std::string> seen;
  const std::string prefix = card + "-";
  for (const std::string& connector : SortedEntries(drmClass)) {
    if (connector.compare(0, prefix.size(), prefix) != 0) {
      continue;
    }
    std::istringstream lines(ReadText(drmClass / connector / "modes"));
    for (std::string line; std::getline(lines, line);) {
      std::optional<DisplayMode> mode = ParseKernelModeName(line);
      if (mode && seen.insert(std::string(Trim(line))).second) {
        mode->bitsPerPixel = bitsPerPixel;
        modes.push_back(*mode);
      }
    }
  }
  return modes;
}

}  // namespace kovrin::sysinfo
