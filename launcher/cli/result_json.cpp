#include "result_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include "command_line.h"
#include "run_report.h"

namespace cli {
namespace {

QJsonValue Text(const std::string& text) {
  return text.empty() ? QJsonValue(QJsonValue::Null) : QJsonValue(QString::fromStdString(text));
}

template <typename T>
QJsonValue Optional(const std::optional<T>& value) {
  return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonObject ModeObject(const RunMode& mode) {
  return {
      {"fullscreen", Optional(mode.fullscreen)},     {"window", Text(mode.window)},
      {"drawable", Text(mode.drawable)},             {"presentation", Text(mode.presentation)},
      {"color_bits", Optional(mode.colorBits)},      {"depth_bits", Optional(mode.depthBits)},
      {"swap_interval", Optional(mode.swapInterval)}, {"display_mode", Text(mode.displayMode)},
      {"video_driver", Text(mode.videoDriver)},       {"renderer", Text(mode.renderer)},
  };
}

QJsonObject ExactObject(const ExactFigures& exact) {
  const QJsonValue frames = exact.frames ? QJsonValue(static_cast<qint64>(*exact.frames)) : QJsonValue(QJsonValue::Null);
  return {
      {"frames", frames},
      {"seconds", Optional(exact.seconds)},
      {"fps", Optional(exact.fps)},
      {"frame_ms",
       QJsonObject{{"p50", Optional(exact.p50)},
                   {"p90", Optional(exact.p90)},
                   {"p99", Optional(exact.p99)},
                   {"max", Optional(exact.max)}}},
      {"end", Text(exact.end)},
  };
}

QJsonArray FlagArray(const std::vector<RunFlag>& flags) {
  QJsonArray names;
  for (const RunFlag& flag : flags) {
    names.append(QString::fromUtf8(flag.name.data(), static_cast<qsizetype>(flag.name.size())));
  }
  return names;
}

// The renderer of the benchmark: the first one a run reported.
QJsonValue Renderer(const RunModes& modes) {
  for (const RunMode& mode : modes) {
    if (!mode.renderer.empty()) return Text(mode.renderer);
  }
  return QJsonValue(QJsonValue::Null);
}

}  // namespace

QByteArray ResultJson(const launcher::ResultsTable& table, const std::string& scoreLabel, const RunModes& modes,
                      const QDateTime& finished) {
  QJsonArray runs;
  for (std::size_t i = 0; i < launcher::kFullBenchmark.size(); ++i) {
    const launcher::BenchRun& run = launcher::kFullBenchmark[i];
    const std::string_view test = launcher::ProgramName(run.test);
    runs.append(QJsonObject{
        {"test", QString::fromUtf8(test.data(), static_cast<qsizetype>(test.size()))},
        {"width", launcher::ResolutionWidth(run.resIndex)},
        {"height", launcher::ResolutionHeight(run.resIndex)},
        {"depth", launcher::DepthBits(run.depthIndex)},
        {"fps", table.*run.field},
        {"mode", ModeObject(modes[i])},
        {"exact", ExactObject(modes[i].exact)},
        {"flags", FlagArray(RunFlags(RequestOf(run), modes[i]))},
    });
  }
  const QJsonObject root{
      {"format", 2},
      {"version", QString::fromStdString(VersionNumber())},
      {"date", finished.toUTC().toString(Qt::ISODate)},
      {"renderer", Renderer(modes)},
      {"score", QJsonObject{{"result", table.Result}, {"label", QString::fromStdString(scoreLabel)}}},
      {"runs", runs},
  };
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace cli
