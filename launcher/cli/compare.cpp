#include "launcher/cli/compare.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <limits>

#include "launcher/cli/results_folder.h"

namespace kovrin::cli {
namespace {

// A result file is a few hundred kilobytes at most; a larger file is something else.
constexpr qint64 kMaxResultBytes = 32 * 1024 * 1024;

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string TextOf(const QJsonValue& value) { return value.isString() ? value.toString().toStdString() : ""; }

// A whole number within [low, high] or nullopt; JSON numbers are doubles.
std::optional<int> WholeIn(const QJsonValue& value, int low, int high) {
  if (!value.isDouble()) return std::nullopt;
  const double number = value.toDouble();
  if (number != static_cast<double>(static_cast<long long>(number)) || number < low || number > high) {
    return std::nullopt;
  }
  return static_cast<int>(number);
}

std::optional<std::string> ReadRun(const QJsonObject& run, FileSetting& into) {
  const QString test = run.value("test").toString();
  if (test == QLatin1String("Quillfire")) {
    into.setting.test = kovrin::launcher::TestProgram::Quillfire;
  } else if (test == QLatin1String("Lumavane")) {
    into.setting.test = kovrin::launcher::TestProgram::Lumavane;
  } else {
    return std::string("its test is neither \"Quillfire\" nor \"Lumavane\"");
  }
  const std::optional<int> width = WholeIn(run.value("width"), 0, kMaxSide);
  const std::optional<int> height = WholeIn(run.value("height"), 0, kMaxSide);
  const std::optional<int> depth = WholeIn(run.value("depth"), 0, 64);
  const std::optional<int> fps = WholeIn(run.value("fps"), 0, std::numeric_limits<int32_t>::max());
  if (!width || !height || !depth) return std::string("its width, height or depth is not a whole number");
  if (!fps) return std::string("its fps is not a whole number of at least 0");
  into.setting.width = *width;
  into.setting.height = *height;
  into.setting.depth = *depth;
  into.fps = {*fps};
  const QJsonValue exact = run.value("exact").toObject().value("fps");
  if (exact.isDouble() && exact.toDouble() >= 0) {
    into.exact = {exact.toDouble()};
  } else if (!exact.isNull() && !exact.isUndefined()) {
    return std::string("its exact.fps is neither a number of at least 0 nor null");
  }
  for (const QJsonValue flag : run.value("flags").toArray()) into.flags.push_back(flag.toString().toStdString());
  return std::nullopt;
}

void Merge(std::vector<FileSetting>& settings, FileSetting run) {
  const auto same =
      std::find_if(settings.begin(), settings.end(), [&](const FileSetting& s) { return s.setting == run.setting; });
  if (same == settings.end()) {
    std::sort(run.flags.begin(), run.flags.end());
    run.flags.erase(std::unique(run.flags.begin(), run.flags.end()), run.flags.end());
    settings.push_back(std::move(run));
    return;
  }
  same->fps.insert(same->fps.end(), run.fps.begin(), run.fps.end());
  same->exact.insert(same->exact.end(), run.exact.begin(), run.exact.end());
  same->flags.insert(same->flags.end(), run.flags.begin(), run.flags.end());
  std::sort(same->flags.begin(), same->flags.end());
  same->flags.erase(std::unique(same->flags.begin(), same->flags.end()), same->flags.end());
}

const FileSetting* Find(const ResultFile& file, const Setting& setting) {
  for (const FileSetting& s : file.settings) {
    if (s.setting == setting) return &s;
  }
  return nullptr;
}

std::string FlagsText(const std::vector<std::string>& flags) {
  if (flags.empty()) return "none";
  std::string text;
  for (const std::string& flag : flags) text += (text.empty() ? "" : " ") + flag;
  return text;
}

void WarnIfDifferent(Comparison& comparison, const char* what, const std::string& base, const std::string& next) {
  if (base == next) return;
  comparison.warnings.push_back(std::string(what) + " differs: " + (base.empty() ? "not recorded" : base) +
                                " in BASE, " + (next.empty() ? "not recorded" : next) + " in NEW");
}

double MeanOf(const std::vector<double>& values) {
  double sum = 0;
  for (const double value : values) sum += value;
  return sum / static_cast<double>(values.size());
}

std::optional<double> Ratio(double next, double base) {
  if (base <= 0) return std::nullopt;
  return next / base;
}

std::string RangeText(const std::optional<RateRange>& range, int runs) {
  if (!range) return "not reported";
  if (runs <= 1) return Fixed(range->median, 2);
  return Fixed(range->median, 2) + " (" + Fixed(range->min, 2) + "-" + Fixed(range->max, 2) + ")";
}

QJsonValue RangeJson(const std::optional<RateRange>& range, int runs) {
  if (!range) return QJsonValue();
  return QJsonObject{{"median", range->median}, {"min", range->min}, {"max", range->max}, {"runs", runs}};
}

QJsonValue OptionalJson(const std::optional<double>& value) { return value ? QJsonValue(*value) : QJsonValue(); }

QJsonObject SideJson(const ResultFile& file, double score, const std::optional<double>& exactMean) {
  return {{"file", QString::fromStdString(file.name)},
          {"format", file.format},
          {"renderer", QString::fromStdString(file.renderer)},
          {"driver", QString::fromStdString(file.driver)},
          {"kernel", QString::fromStdString(file.kernel)},
          {"score", score},
          {"exact_mean", OptionalJson(exactMean)}};
}

QJsonArray NamesJson(const std::vector<Setting>& settings) {
  QJsonArray names;
  for (const Setting& setting : settings) names.append(QString::fromStdString(SettingName(setting)));
  return names;
}

std::optional<ResultFile> ReadNamed(const std::string& name, const std::filesystem::path& resultsFolder,
                                    std::ostream& err) {
  std::string error;
  const std::optional<std::filesystem::path> path = ResolveResultName(name, resultsFolder, error);
  if (!path) {
    err << "kovrin: " << error << std::endl;
    return std::nullopt;
  }
  QFile file(QString::fromStdString(path->string()));
  if (!file.open(QIODevice::ReadOnly)) {
    err << "kovrin: cannot read " << path->string() << ": " << file.errorString().toStdString() << std::endl;
    return std::nullopt;
  }
  const QByteArray bytes = file.read(kMaxResultBytes + 1);
  if (bytes.size() > kMaxResultBytes) {
    err << "kovrin: " << path->string() << " is not a kovrin result file: larger than "
        << kMaxResultBytes / (1024 * 1024) << " MiB" << std::endl;
    return std::nullopt;
  }
  std::optional<ResultFile> result = ParseResultFile(bytes, error);
  if (!result) {
    err << "kovrin: " << path->string() << " " << error << std::endl;
    return std::nullopt;
  }
  result->name = path->string();
  return result;
}

}  // namespace

std::optional<ResultFile> ParseResultFile(const QByteArray& bytes, std::string& error) {
  QJsonParseError parseError{};
  const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
  if (!document.isObject()) {
    error = "is not a kovrin result file: " + (document.isNull()
                                                   ? "not JSON (" + parseError.errorString().toStdString() + ")"
                                                   : std::string("not a JSON object"));
    return std::nullopt;
  }
  const QJsonObject root = document.object();
  const std::optional<int> format = WholeIn(root.value("format"), 0, 1'000'000);
  if (!format || !root.value("runs").isArray()) {
    error = "is not a kovrin result file: it has no format number and runs";
    return std::nullopt;
  }
  if (*format != 2 && *format != 3) {
    error = "has result format " + std::to_string(*format) + "; this kovrin reads formats 2 and 3";
    return std::nullopt;
  }
  ResultFile file;
  file.format = *format;
  file.renderer = TextOf(root.value("renderer"));
  const QJsonObject system = root.value("system").toObject();
  file.driver = TextOf(system.value("driver"));
  file.kernel = TextOf(system.value("kernel"));
  const QJsonArray runs = root.value("runs").toArray();
  for (qsizetype i = 0; i < runs.size(); ++i) {
    FileSetting run;
    const std::optional<std::string> problem =
        runs.at(i).isObject() ? ReadRun(runs.at(i).toObject(), run) : std::string("it is not an object");
    if (problem) {
      error = "is not a usable result file: run " + std::to_string(i + 1) + ": " + *problem;
      return std::nullopt;
    }
    Merge(file.settings, std::move(run));
  }
  if (file.settings.empty()) {
    error = "is not a usable result file: it has no runs";
    return std::nullopt;
  }
  return file;
}

Comparison CompareResults(const ResultFile& base, const ResultFile& next) {
  Comparison comparison;
  std::vector<int32_t> baseMedians, nextMedians;
  std::vector<double> baseExact, nextExact;
  for (const FileSetting& b : base.settings) {
    const FileSetting* n = Find(next, b.setting);
    if (n == nullptr) {
      comparison.onlyBase.push_back(b.setting);
      continue;
    }
    SettingComparison row;
    row.setting = b.setting;
    row.base = RangeOf(b.exact);
    row.next = RangeOf(n->exact);
    row.baseRuns = static_cast<int>(b.exact.size());
    row.nextRuns = static_cast<int>(n->exact.size());
    if (row.base && row.next) {
      row.ratio = Ratio(row.next->median, row.base->median);
      row.verdict = CompareRanges(*row.base, row.baseRuns, *row.next, row.nextRuns);
      baseExact.push_back(row.base->median);
      nextExact.push_back(row.next->median);
    }
    baseMedians.push_back(IntegerMedian(b.fps));
    nextMedians.push_back(IntegerMedian(n->fps));
    if (b.flags != n->flags) {
      comparison.warnings.push_back(SettingName(b.setting) + ": the runs' flags differ: " + FlagsText(b.flags) +
                                    " in BASE, " + FlagsText(n->flags) + " in NEW");
    }
    comparison.rows.push_back(std::move(row));
  }
  for (const FileSetting& n : next.settings) {
    if (Find(base, n.setting) == nullptr) comparison.onlyNext.push_back(n.setting);
  }
  if (!baseMedians.empty()) {
    const auto mean = [](const std::vector<int32_t>& values) {
      double sum = 0;
      for (const int32_t value : values) sum += value;
      return sum / static_cast<double>(values.size());
    };
    comparison.baseScore = mean(baseMedians);
    comparison.nextScore = mean(nextMedians);
    comparison.scoreRatio = Ratio(comparison.nextScore, comparison.baseScore);
  }
  if (!baseExact.empty()) {
    comparison.baseExactMean = MeanOf(baseExact);
    comparison.nextExactMean = MeanOf(nextExact);
    comparison.exactRatio = Ratio(*comparison.nextExactMean, *comparison.baseExactMean);
  }
  WarnIfDifferent(comparison, "the renderer", base.renderer, next.renderer);
  WarnIfDifferent(comparison, "the driver", base.driver, next.driver);
  WarnIfDifferent(comparison, "the kernel", base.kernel, next.kernel);
  return comparison;
}

std::string ComparisonText(const Comparison& comparison, const ResultFile& base, const ResultFile& next) {
  std::string text = "BASE: " + base.name + "\nNEW:  " + next.name + "\n\n";
  std::vector<std::vector<std::string>> cells{{"Setting", "BASE exact fps", "NEW exact fps", "NEW/BASE", "Verdict"}};
  for (const SettingComparison& row : comparison.rows) {
    std::string verdict = row.verdict ? std::string(VerdictName(*row.verdict)) : "no exact rate";
    if ((row.base && row.base->unstable) || (row.next && row.next->unstable)) verdict += " (unstable)";
    cells.push_back({SettingName(row.setting), RangeText(row.base, row.baseRuns), RangeText(row.next, row.nextRuns),
                     row.ratio ? Fixed(*row.ratio, 2) : "-", verdict});
  }
  std::vector<std::size_t> widths(cells[0].size(), 0);
  for (const auto& line : cells) {
    for (std::size_t c = 0; c < line.size(); ++c) widths[c] = std::max(widths[c], line[c].size());
  }
  for (const auto& line : cells) {
    std::string row;
    for (std::size_t c = 0; c < line.size(); ++c) {
      const std::string pad(widths[c] - line[c].size(), ' ');
      // Names and verdicts read from the left, figures line up on the right.
      const bool left = c == 0 || c + 1 == line.size();
      row += (c == 0 ? "" : "  ") + (left ? line[c] + (c + 1 == line.size() ? "" : pad) : pad + line[c]);
    }
    text += row + "\n";
  }
  text += "\n";
  text += "Score: " + Fixed(comparison.baseScore, 1) + " fps (BASE), " + Fixed(comparison.nextScore, 1) +
          " fps (NEW), ratio " + (comparison.scoreRatio ? Fixed(*comparison.scoreRatio, 2) : "-") + "\n";
  if (comparison.exactRatio) {
    text += "Exact mean: " + Fixed(*comparison.baseExactMean, 2) + " fps (BASE), " +
            Fixed(*comparison.nextExactMean, 2) + " fps (NEW), ratio " + Fixed(*comparison.exactRatio, 2) + "\n";
  }
  const auto listed = [](const std::vector<Setting>& settings) {
    std::string names;
    for (const Setting& s : settings) names += (names.empty() ? "" : ", ") + SettingName(s);
    return names;
  };
  if (!comparison.onlyBase.empty()) text += "Only in BASE, not compared: " + listed(comparison.onlyBase) + "\n";
  if (!comparison.onlyNext.empty()) text += "Only in NEW, not compared: " + listed(comparison.onlyNext) + "\n";
  for (const std::string& warning : comparison.warnings) text += "Warning: " + warning + "\n";
  return text;
}

QByteArray ComparisonJson(const Comparison& comparison, const ResultFile& base, const ResultFile& next) {
  QJsonArray rows;
  for (const SettingComparison& row : comparison.rows) {
    rows.append(QJsonObject{
        {"test", QString::fromUtf8(kovrin::launcher::ProgramName(row.setting.test).data())},
        {"width", row.setting.width},
        {"height", row.setting.height},
        {"depth", row.setting.depth},
        {"base", RangeJson(row.base, row.baseRuns)},
        {"new", RangeJson(row.next, row.nextRuns)},
        {"ratio", OptionalJson(row.ratio)},
        {"verdict", row.verdict ? QJsonValue(QString::fromUtf8(VerdictName(*row.verdict).data())) : QJsonValue()},
        {"unstable", (row.base && row.base->unstable) || (row.next && row.next->unstable)},
    });
  }
  QJsonArray warnings;
  for (const std::string& warning : comparison.warnings) warnings.append(QString::fromStdString(warning));
  const QJsonObject root{
      {"comparison", 1},
      {"base", SideJson(base, comparison.baseScore, comparison.baseExactMean)},
      {"new", SideJson(next, comparison.nextScore, comparison.nextExactMean)},
      {"settings", rows},
      {"score_ratio", OptionalJson(comparison.scoreRatio)},
      {"exact_mean_ratio", OptionalJson(comparison.exactRatio)},
      {"only_in_base", NamesJson(comparison.onlyBase)},
      {"only_in_new", NamesJson(comparison.onlyNext)},
      {"warnings", warnings},
  };
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

int RunCompare(const std::string& baseName, const std::string& nextName, const std::optional<std::string>& jsonFile,
               const std::filesystem::path& resultsFolder, std::ostream& out, std::ostream& err) {
  const std::optional<ResultFile> base = ReadNamed(baseName, resultsFolder, err);
  if (!base) return kCompareUnusableExitCode;
  const std::optional<ResultFile> next = ReadNamed(nextName, resultsFolder, err);
  if (!next) return kCompareUnusableExitCode;
  const Comparison comparison = CompareResults(*base, *next);
  out << ComparisonText(comparison, *base, *next) << std::flush;
  if (!jsonFile) return 0;
  QSaveFile file(QString::fromStdString(*jsonFile));
  const QByteArray json = ComparisonJson(comparison, *base, *next);
  if (file.open(QIODevice::WriteOnly) && file.write(json) == json.size() && file.commit()) return 0;
  err << "kovrin: cannot write " << *jsonFile << ": " << file.errorString().toStdString() << std::endl;
  return 1;
}

}  // namespace kovrin::cli
