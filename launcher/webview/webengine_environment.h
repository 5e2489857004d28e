// What Qt WebEngine needs from the environment where a desktop session does
// not provide it.
//
// Chromium refuses to start its sandbox as root, so a launcher run as root
// shows no page unless the sandbox is off. On the offscreen platform there
// is no GPU path: Chromium is told to leave the GPU alone and Qt Quick (which
// the view draws through) renders in software. A desktop run as an ordinary
// user changes nothing, and whatever the user has set stands.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin::webview {

struct EnvironmentSetting {
  std::string name;
  std::string value;
};

using EnvironmentReader = std::function<std::optional<std::string>(const char* name)>;

// The variables to set, given whether the process runs as root, the Qt
// platform's name and the current environment.
std::vector<EnvironmentSetting> WebEngineEnvironmentSettings(bool runningAsRoot, std::string_view platformName,
                                                             const EnvironmentReader& environment);

// Sets them for this process. Must run before the first web view exists;
// later calls change nothing the engine still reads, and are harmless.
void PrepareWebEngineEnvironment();

}  // namespace kovrin::webview
