#include "launcher/cli/bench_plan.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace kovrin::cli {
namespace {

// The comma-separated items of an option's value; an empty item is kept so
// that "640x480,,1024x768" is refused rather than read as two sizes.
std::vector<std::string_view> Items(std::string_view text) {
  std::vector<std::string_view> items;
  for (;;) {
    const std::size_t comma = text.find(',');
    items.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) return items;
    text.remove_prefix(comma + 1);
  }
}

std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || rest != end) return std::nullopt;
  return value;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

template <typename T>
bool HasTwice(const std::vector<T>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (std::find(values.begin() + static_cast<std::ptrdiff_t>(i) + 1, values.end(), values[i]) != values.end()) {
      return true;
    }
  }
  return false;
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

}  // namespace

Matrix DefaultMatrix() {
  return Matrix{{kovrin::launcher::TestProgram::Quillfire, kovrin::launcher::TestProgram::Lumavane},
                {{640, 480}, {1024, 768}, {1600, 1200}},
                {16, 32}};
}

Matrix Ordered(Matrix matrix) {
  std::sort(matrix.tests.begin(), matrix.tests.end());
  std::sort(matrix.sizes.begin(), matrix.sizes.end(), [](const ScreenSize& a, const ScreenSize& b) {
    const long long areaA = 1LL * a.width * a.height, areaB = 1LL * b.width * b.height;
    return areaA != areaB ? areaA < areaB : a.width < b.width;
  });
  std::sort(matrix.depths.begin(), matrix.depths.end());
  return matrix;
}

std::vector<Setting> Settings(const Matrix& matrix) {
  std::vector<Setting> settings;
  for (const kovrin::launcher::TestProgram test : matrix.tests) {
    for (const ScreenSize& size : matrix.sizes) {
      for (const int depth : matrix.depths) settings.push_back({test, size.width, size.height, depth});
    }
  }
  return settings;
}

std::string SettingName(const Setting& setting) {
  return std::string(kovrin::launcher::ProgramName(setting.test)) + " " + std::to_string(setting.width) + "x" +
         std::to_string(setting.height) + "x" + std::to_string(setting.depth);
}

std::optional<std::vector<kovrin::launcher::TestProgram>> ParseTests(std::string_view text, std::string& error) {
  std::vector<kovrin::launcher::TestProgram> tests;
  for (const std::string_view item : Items(text)) {
    const std::string name = Lower(item);
    if (name == "quillfire") {
      tests.push_back(kovrin::launcher::TestProgram::Quillfire);
    } else if (name == "lumavane") {
      tests.push_back(kovrin::launcher::TestProgram::Lumavane);
    } else {
      error = "--tests takes quillfire and lumavane, separated by a comma, not " + Quoted(item);
      return std::nullopt;
    }
  }
  if (HasTwice(tests)) {
    error = "--tests names a test twice: " + Quoted(text);
    return std::nullopt;
  }
  return tests;
}

std::optional<std::vector<ScreenSize>> ParseSizes(std::string_view text, std::string& error) {
  std::vector<ScreenSize> sizes;
  for (const std::string_view item : Items(text)) {
    const std::size_t x = item.find('x');
    const std::optional<int> width = x == std::string_view::npos ? std::nullopt : WholeNumber(item.substr(0, x));
    const std::optional<int> height = x == std::string_view::npos ? std::nullopt : WholeNumber(item.substr(x + 1));
    if (!width || !height || *width < 1 || *height < 1 || *width > kMaxSide || *height > kMaxSide) {
      error = "--sizes takes sizes WIDTHxHEIGHT from 1 to " + std::to_string(kMaxSide) +
              " pixels a side, separated by a comma, such as 1920x1080, not " + Quoted(item);
      return std::nullopt;
    }
    sizes.push_back({*width, *height});
  }
  if (HasTwice(sizes)) {
    error = "--sizes names a size twice: " + Quoted(text);
    return std::nullopt;
  }
  return sizes;
}

std::optional<std::vector<int>> ParseDepths(std::string_view text, std::string& error) {
  std::vector<int> depths;
  for (const std::string_view item : Items(text)) {
    const std::optional<int> depth = WholeNumber(item);
    if (!depth || (*depth != 16 && *depth != 32)) {
      error = "--depths takes 16 and 32, separated by a comma, not " + Quoted(item);
      return std::nullopt;
    }
    depths.push_back(*depth);
  }
  if (HasTwice(depths)) {
    error = "--depths names a depth twice: " + Quoted(text);
    return std::nullopt;
  }
  return depths;
}

std::optional<int> ParseRepeat(std::string_view text, std::string& error) {
  const std::optional<int> repeat = WholeNumber(text);
  if (!repeat || *repeat < 1 || *repeat > kMaxRepeat) {
    error = "--repeat needs a whole number from 1 to " + std::to_string(kMaxRepeat) + ", not " + Quoted(text);
    return std::nullopt;
  }
  return repeat;
}

std::vector<PlannedRun> RunOrder(std::size_t settingCount, int repeat) {
  std::vector<PlannedRun> runs;
  for (std::size_t setting = 0; setting < settingCount; ++setting) {
    for (int r = 1; r <= repeat; ++r) runs.push_back({setting, r});
  }
  return runs;
}

std::string TimeLeftText(double seconds) {
  const long long whole = std::llround(std::max(0.0, seconds));
  if (whole < 60) return "about " + std::to_string(whole) + " s left";
  if (whole < 3600) {
    const long long tens = (whole + 5) / 10 * 10;
    if (tens % 60 == 0) return "about " + std::to_string(tens / 60) + " min left";
    return "about " + std::to_string(tens / 60) + " min " + std::to_string(tens % 60) + " s left";
  }
  const long long minutes = (whole + 30) / 60;
  if (minutes % 60 == 0) return "about " + std::to_string(minutes / 60) + " h left";
  return "about " + std::to_string(minutes / 60) + " h " + std::to_string(minutes % 60) + " min left";
}

std::optional<double> EstimateSecondsLeft(const std::vector<double>& finishedRunSeconds, std::size_t runsLeft) {
  if (finishedRunSeconds.empty()) return std::nullopt;
  double total = 0;
  for (const double seconds : finishedRunSeconds) total += seconds;
  return total / static_cast<double>(finishedRunSeconds.size()) * static_cast<double>(runsLeft);
}

}  // namespace kovrin::cli
