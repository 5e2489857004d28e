// kovrin --compare BASE NEW: two result files setting by setting.
//
// Everything is read from the files' runs, not from their summaries, so a
// file of the older format (one run per setting) compares like a new one, and
// a figure edited by hand is the figure compared.
#pragma once

#include <QByteArray>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "launcher/cli/bench_plan.h"
#include "launcher/cli/repeat_stats.h"

namespace kovrin::cli {

// One setting of a result file: its runs' figures.
struct FileSetting {
  Setting setting;
  std::vector<int32_t> fps;        // the integer results
  std::vector<double> exact;       // the exact rates the runs reported
  std::vector<std::string> flags;  // every flag any of its runs carries, sorted, once each
};

struct ResultFile {
  std::string name;  // as the user gave it, for messages
  int format = 0;
  std::string renderer;
  std::string driver;
  std::string kernel;
  std::vector<FileSetting> settings;  // in the order of the file's runs
};

// The result file in `bytes`; nullopt with the reason in `error` (without
// the file's name) when it is none this launcher can read.
std::optional<ResultFile> ParseResultFile(const QByteArray& bytes, std::string& error);

struct SettingComparison {
  Setting setting;
  std::optional<RateRange> base, next;  // nullopt: that side reported no exact rate
  int baseRuns = 0, nextRuns = 0;
  std::optional<double> ratio;  // next / base medians
  std::optional<Verdict> verdict;
};

struct Comparison {
  std::vector<SettingComparison> rows;  // settings present in both, in the base's order
  std::vector<Setting> onlyBase, onlyNext;
  // The launcher's score (mean of the settings' integer medians) of each side
  // over the common settings, and the mean of their exact medians.
  double baseScore = 0, nextScore = 0;
  std::optional<double> scoreRatio;
  std::optional<double> baseExactMean, nextExactMean, exactRatio;
  std::vector<std::string> warnings;
};

Comparison CompareResults(const ResultFile& base, const ResultFile& next);

// The table and the lines around it, as printed.
std::string ComparisonText(const Comparison& comparison, const ResultFile& base, const ResultFile& next);

// The same as a JSON document (described in docs/result-json.md).
QByteArray ComparisonJson(const Comparison& comparison, const ResultFile& base, const ResultFile& next);

inline constexpr int kCompareUnusableExitCode = 2;

// The whole of --compare: names resolved ("last", "previous" in
// `resultsFolder`), files read, the table on `out`, the JSON into `jsonFile`.
// 0 when compared, 2 for a file that cannot be used (the message on `err`
// names it), 1 when the JSON file cannot be written.
int RunCompare(const std::string& baseName, const std::string& nextName, const std::optional<std::string>& jsonFile,
               const std::filesystem::path& resultsFolder, std::ostream& out, std::ostream& err);

}  // namespace kovrin::cli
