// Which runs a command-line benchmark makes: the matrix of tests, sizes and
// depths, each setting made a number of times in a row.
//
// The default matrix with one repeat is exactly the window's twelve runs in
// the window's order; any other matrix keeps that order (Quillfire before
// Lumavane, smaller sizes first, 16 bits before 32), so that two plans made
// from the same settings run them alike whatever order the user typed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/core/results_table.h"

namespace kovrin::cli {

// One cell of the matrix: a test program at a size and depth.
struct Setting {
  kovrin::launcher::TestProgram test = kovrin::launcher::TestProgram::Quillfire;
  int width = 0;
  int height = 0;
  int depth = 0;
  friend bool operator==(const Setting&, const Setting&) = default;
};

struct ScreenSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const ScreenSize&, const ScreenSize&) = default;
};

struct Matrix {
  std::vector<kovrin::launcher::TestProgram> tests;
  std::vector<ScreenSize> sizes;
  std::vector<int> depths;
  friend bool operator==(const Matrix&, const Matrix&) = default;
};

// Quillfire and Lumavane at 640x480, 1024x768 and 1600x1200 in 16 and 32 bits.
Matrix DefaultMatrix();

// The matrix in the default order: the order the runs are made in.
Matrix Ordered(Matrix matrix);

// The settings of an ordered matrix, test by test, size by size, depth by depth.
std::vector<Setting> Settings(const Matrix& matrix);

// "Quillfire 1024x768x16"
std::string SettingName(const Setting& setting);

inline constexpr int kMaxRepeat = 20;
// The largest side a size may have: beyond any display or texture a driver offers.
inline constexpr int kMaxSide = 16384;

// The values of --tests, --sizes, --depths and --repeat. Each gives the
// value, or nullopt and the reason it cannot be used in `error`, for
// "kovrin: <error>".
std::optional<std::vector<kovrin::launcher::TestProgram>> ParseTests(std::string_view text, std::string& error);
std::optional<std::vector<ScreenSize>> ParseSizes(std::string_view text, std::string& error);
std::optional<std::vector<int>> ParseDepths(std::string_view text, std::string& error);
std::optional<int> ParseRepeat(std::string_view text, std::string& error);

// One single run of a plan: which setting, and which of its repeats (1-based).
struct PlannedRun {
  std::size_t setting = 0;
  int repeat = 1;
};

// Every setting `repeat` times in a row before the next setting.
std::vector<PlannedRun> RunOrder(std::size_t settingCount, int repeat);

// "about 2 min 40 s left": seconds up to a minute, then minutes and seconds to
// ten seconds, from an hour on hours and minutes; an estimate claims no more.
std::string TimeLeftText(double seconds);

// The time the runs not yet finished will take, from the mean length of the
// finished ones; nullopt before the first has finished.
std::optional<double> EstimateSecondsLeft(const std::vector<double>& finishedRunSeconds, std::size_t runsLeft);

}  // namespace kovrin::cli
