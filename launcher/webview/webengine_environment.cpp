#include "launcher/webview/webengine_environment.h"

#include <unistd.h>

#include <algorithm>

#include <QGuiApplication>
#include <QString>
#include <QtGlobal>

namespace kovrin::webview {
namespace {

constexpr char kSandboxVariable[] = "QTWEBENGINE_DISABLE_SANDBOX";
constexpr char kFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
constexpr char kQuickBackendVariable[] = "QT_QUICK_BACKEND";

bool HasFlag(const std::string& flags, std::string_view flag) {
  std::size_t start = 0;
  while (start <= flags.size()) {
    const std::size_t end = std::min(flags.find(' ', start), flags.size());
    if (std::string_view(flags).substr(start, end - start) == flag) return true;
    start = end + 1;
  }
  return false;
}

bool IsHeadlessPlatform(std::string_view platformName) {
  return platformName == "offscreen" || platformName == "minimal";
}

}  // namespace

std::vector<EnvironmentSetting> WebEngineEnvironmentSettings(bool runningAsRoot, std::string_view platformName,
                                                             const EnvironmentReader& environment) {
  std::vector<EnvironmentSetting> settings;
  const std::string flags = environment(kFlagsVariable).value_or("");
  if (runningAsRoot && !environment(kSandboxVariable) && !HasFlag(flags, "--no-sandbox")) {
    settings.push_back({kSandboxVariable, "1"});
  }
  if (IsHeadlessPlatform(platformName)) {
    if (!HasFlag(flags, "--disable-gpu")) {
      settings.push_back({kFlagsVariable, flags.empty() ? "--disable-gpu" : flags + " --disable-gpu"});
    }
    if (!environment(kQuickBackendVariable)) settings.push_back({kQuickBackendVariable, "software"});
  }
  return settings;
}

void PrepareWebEngineEnvironment() {
  const EnvironmentReader environment = [](const char* name) -> std::optional<std::string> {
    if (!qEnvironmentVariableIsSet(name)) return std::nullopt;
    return qEnvironmentVariable(name).toStdString();
  };
  const bool root = ::geteuid() == 0;
  const std::string platform = QGuiApplication::platformName().toStdString();
  for (const EnvironmentSetting& setting : WebEngineEnvironmentSettings(root, platform, environment)) {
    qputenv(setting.name.c_str(), QByteArray::fromStdString(setting.value));
  }
}

}  // namespace kovrin::webview
