#include "launcher/cli/result_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>

#include "launcher/cli/command_line.h"
#include "launcher/sysinfo/sysinfo_records.h"

namespace kovrin::cli {
namespace {

namespace sysinfo = kovrin::sysinfo;

QJsonValue Text(const std::string& text) {
  return text.empty() ? QJsonValue(QJsonValue::Null) : QJsonValue(QString::fromStdString(text));
}

QString Name(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

template <typename T>
QJsonValue Optional(const std::optional<T>& value) {
  return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue Bytes(const std::optional<std::uint64_t>& bytes) {
  return bytes ? QJsonValue(static_cast<qint64>(*bytes)) : QJsonValue(QJsonValue::Null);
}

QJsonObject ModeObject(const RunMode& mode) {
  return {
      {"fullscreen", Optional(mode.fullscreen)},
      {"window", Text(mode.window)},
      {"drawable", Text(mode.drawable)},
      {"presentation", Text(mode.presentation)},
      {"color_bits", Optional(mode.colorBits)},
      {"depth_bits", Optional(mode.depthBits)},
      {"swap_interval", Optional(mode.swapInterval)},
      {"display_mode", Text(mode.displayMode)},
      {"video_driver", Text(mode.videoDriver)},
      {"renderer", Text(mode.renderer)},
  };
}

QJsonObject ExactObject(const ExactFigures& exact) {
  const QJsonValue frames =
      exact.frames ? QJsonValue(static_cast<qint64>(*exact.frames)) : QJsonValue(QJsonValue::Null);
  return {
      {"frames", frames},
      {"seconds", Optional(exact.seconds)},
      {"fps", Optional(exact.fps)},
      {"frame_ms", QJsonObject{{"p50", Optional(exact.p50)},
                               {"p90", Optional(exact.p90)},
                               {"p99", Optional(exact.p99)},
                               {"max", Optional(exact.max)}}},
      {"end", Text(exact.end)},
  };
}

QJsonArray FlagArray(const std::vector<RunFlag>& flags) {
  QJsonArray names;
  for (const RunFlag& flag : flags) names.append(Name(flag.name));
  return names;
}

QJsonObject SettingKeys(const Setting& setting) {
  return {{"test", Name(kovrin::launcher::ProgramName(setting.test))},
          {"width", setting.width},
          {"height", setting.height},
          {"depth", setting.depth}};
}

QJsonObject RunObject(const BenchResult& result, const RunRecord& run) {
  QJsonObject object = SettingKeys(result.settings[run.setting]);
  object.insert("repeat", run.repeat);
  object.insert("fps", run.fps);
  object.insert("mode", ModeObject(run.mode));
  object.insert("exact", ExactObject(run.mode.exact));
  object.insert("flags", FlagArray(run.flags));
  return object;
}

QJsonObject SettingObject(const Setting& setting, const SettingSummary& summary) {
  QJsonObject object = SettingKeys(setting);
  object.insert("fps", summary.fps);
  object.insert("fps_min", summary.fpsMin);
  object.insert("fps_max", summary.fpsMax);
  QJsonObject exact;
  if (summary.exact) {
    exact = {{"median", summary.exact->median},
             {"min", summary.exact->min},
             {"max", summary.exact->max},
             {"spread", std::isfinite(summary.exact->spread) ? QJsonValue(summary.exact->spread) : QJsonValue()}};
  } else {
    exact = {{"median", QJsonValue()}, {"min", QJsonValue()}, {"max", QJsonValue()}, {"spread", QJsonValue()}};
  }
  exact.insert("runs", summary.exactRuns);
  object.insert("exact", exact);
  object.insert("unstable", summary.exact && summary.exact->unstable);
  return object;
}

QJsonArray DepthList(std::uint32_t bits, bool with8) {
  QJsonArray depths;
  const std::pair<std::uint32_t, int> known[] = {
      {sysinfo::kDepth8, 8}, {sysinfo::kDepth16, 16}, {sysinfo::kDepth24, 24}, {sysinfo::kDepth32, 32}};
  for (const auto& [bit, depth] : known) {
    if ((bits & bit) != 0 && (with8 || depth != 8)) depths.append(depth);
  }
  return depths;
}

QJsonArray NamedBits(std::uint32_t bits, std::initializer_list<std::pair<std::uint32_t, const char*>> names) {
  QJsonArray list;
  for (const auto& [bit, name] : names) {
    if ((bits & bit) != 0) list.append(QString::fromLatin1(name));
  }
  return list;
}

QJsonObject DeviceObject(const sysinfo::DeviceDesc& device) {
  return {
      {"guid", Text(device.guid)},
      {"description", Text(device.description)},
      {"name", Text(device.name)},
      {"max_texture_width", static_cast<qint64>(device.maxTextureWidth)},
      {"max_texture_height", static_cast<qint64>(device.maxTextureHeight)},
      {"render_depths", DepthList(device.renderBitDepth, true)},
      {"z_buffer_depths", DepthList(device.zBufferBitDepth, true)},
      {"capabilities", NamedBits(device.devCaps, {{sysinfo::kDevCapsTextureNonLocalVidMem, "agp-textures"},
                                                  {sysinfo::kDevCapsSortDecreasingZ, "sort-decreasing-z"},
                                                  {sysinfo::kDevCapsSortExact, "sort-exact"},
                                                  {sysinfo::kDevCapsSortIncreasingZ, "sort-increasing-z"},
                                                  {sysinfo::kDevCapsTextureVideoMemory, "texture-video-memory"}})},
  };
}

QJsonObject AdapterObject(const AdapterFacts& adapter) {
  QJsonArray devices, modes;
  for (const sysinfo::DeviceDesc& device : adapter.devices) devices.append(DeviceObject(device));
  for (const sysinfo::DisplayMode& mode : adapter.modes) {
    modes.append(QJsonObject{
        {"width", static_cast<qint64>(mode.width)},
        {"height", static_cast<qint64>(mode.height)},
        {"bits_per_pixel", mode.bitsPerPixel ? QJsonValue(static_cast<qint64>(*mode.bitsPerPixel)) : QJsonValue()},
        {"refresh_rate", static_cast<qint64>(mode.refreshRate)}});
  }
  const QJsonValue palette =
      adapter.caps.palCaps
          ? QJsonValue(NamedBits(*adapter.caps.palCaps, {{sysinfo::kPalCaps1Bit, "1bit"},
                                                         {sysinfo::kPalCaps2Bit, "2bit"},
                                                         {sysinfo::kPalCaps8Bit, "8bit"},
                                                         {sysinfo::kPalCaps8BitEntries, "8bit-entries"},
                                                         {sysinfo::kPalCapsAllow256, "allow-256"}}))
          : QJsonValue();
  return {
      {"guid", Text(adapter.identity.guid)},
      {"description", Text(adapter.identity.description)},
      {"name", Text(adapter.identity.driverName)},
      {"video_memory_total", Bytes(adapter.caps.vidMemTotal)},
      {"video_memory_free", Bytes(adapter.caps.vidMemFree)},
      {"palette", palette},
      {"gamma", Optional(adapter.caps.canCalibrateGamma)},
      {"devices", devices},
      {"modes", modes},
  };
}

QJsonValue SystemObject(const std::optional<SystemFacts>& system) {
  if (!system) return QJsonValue();
  QJsonArray adapters;
  for (const AdapterFacts& adapter : system->adapters) adapters.append(AdapterObject(adapter));
  return QJsonObject{{"kernel", Text(system->kernel)},
                     {"driver", Text(system->driver)},
                     {"cpu", Text(system->cpu)},
                     {"adapters", adapters},
                     {"error", Text(system->error)}};
}

QJsonObject MatrixObject(const Matrix& matrix, bool comparable) {
  QJsonArray tests, sizes, depths;
  for (const kovrin::launcher::TestProgram test : matrix.tests) tests.append(Name(kovrin::launcher::ProgramName(test)));
  for (const ScreenSize& size : matrix.sizes) {
    sizes.append(QString::fromStdString(std::to_string(size.width) + "x" + std::to_string(size.height)));
  }
  for (const int depth : matrix.depths) depths.append(depth);
  return {{"tests", tests}, {"sizes", sizes}, {"depths", depths}, {"default", comparable}};
}

}  // namespace

QByteArray ResultJson(const BenchResult& result, const QDateTime& finished) {
  QJsonArray runs, settings;
  for (const RunRecord& run : result.runs) runs.append(RunObject(result, run));
  for (std::size_t i = 0; i < result.settings.size(); ++i) {
    settings.append(SettingObject(result.settings[i], result.summaries[i]));
  }
  const QJsonObject root{
      {"format", kResultFormat},
      {"version", QString::fromStdString(VersionNumber())},
      {"date", finished.toUTC().toString(Qt::ISODate)},
      {"renderer", Text(result.renderer)},
      {"repeat", result.repeat},
      {"matrix", MatrixObject(result.matrix, result.comparable)},
      {"score", QJsonObject{{"result", result.score.result},
                            {"label", QString::fromStdString(result.score.label)},
                            {"mean", result.scoreMean},
                            {"exact_mean", result.exactMean ? QJsonValue(*result.exactMean) : QJsonValue()},
                            {"comparable", result.comparable}}},
      {"settings", settings},
      {"runs", runs},
      {"system", SystemObject(result.system)},
  };
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace kovrin::cli
