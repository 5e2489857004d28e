// What the launcher sets for Qt WebEngine: nothing on an ordinary desktop,
// the sandbox off as root, software rendering when headless.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "launcher/webview/webengine_environment.h"

namespace {

using Environment = std::map<std::string, std::string>;

struct EnvCase {
  const char* name;
  bool root;
  const char* platform;
  Environment before;
  Environment expectedSettings;
};

std::ostream& operator<<(std::ostream& out, const EnvCase& c) { return out << c.name; }

class WebEngineEnvironment : public testing::TestWithParam<EnvCase> {};

TEST_P(WebEngineEnvironment, SetsOnlyWhatIsMissing) {
  const EnvCase& c = GetParam();
  const kovrin::webview::EnvironmentReader reader = [&c](const char* name) -> std::optional<std::string> {
    const auto it = c.before.find(name);
    if (it == c.before.end()) return std::nullopt;
    return it->second;
  };
  Environment settings;
  for (const kovrin::webview::EnvironmentSetting& s :
       kovrin::webview::WebEngineEnvironmentSettings(c.root, c.platform, reader)) {
    EXPECT_TRUE(settings.emplace(s.name, s.value).second) << s.name << " set twice";
  }
  EXPECT_EQ(settings, c.expectedSettings);
}

const Environment kHeadless = {{"QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu"}, {"QT_QUICK_BACKEND", "software"}};

INSTANTIATE_TEST_SUITE_P(
    Cases, WebEngineEnvironment,
    testing::Values(EnvCase{"DesktopUser", false, "xcb", {}, {}}, EnvCase{"WaylandUser", false, "wayland", {}, {}},
                    EnvCase{"DesktopRoot", true, "xcb", {}, {{"QTWEBENGINE_DISABLE_SANDBOX", "1"}}},
                    EnvCase{"RootWhoChoseSandboxSetting", true, "xcb", {{"QTWEBENGINE_DISABLE_SANDBOX", "0"}}, {}},
                    EnvCase{"RootWithNoSandboxFlag", true, "xcb", {{"QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox"}}, {}},
                    EnvCase{"HeadlessUser", false, "offscreen", {}, kHeadless},
                    EnvCase{"HeadlessRoot",
                            true,
                            "offscreen",
                            {},
                            {{"QTWEBENGINE_DISABLE_SANDBOX", "1"},
                             {"QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu"},
                             {"QT_QUICK_BACKEND", "software"}}},
                    EnvCase{
                        "HeadlessWithOwnFlags",
                        false,
                        "offscreen",
                        {{"QTWEBENGINE_CHROMIUM_FLAGS", "--lang=de"}},
                        {{"QTWEBENGINE_CHROMIUM_FLAGS", "--lang=de --disable-gpu"}, {"QT_QUICK_BACKEND", "software"}}},
                    EnvCase{"HeadlessAlreadyWithoutGpu",
                            false,
                            "offscreen",
                            {{"QTWEBENGINE_CHROMIUM_FLAGS", "--lang=de --disable-gpu"}},
                            {{"QT_QUICK_BACKEND", "software"}}},
                    EnvCase{"HeadlessWithOwnQuickBackend",
                            false,
                            "offscreen",
                            {{"QT_QUICK_BACKEND", "openvg"}},
                            {{"QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu"}}},
                    // "--disable-gpu-compositing" is another flag, not the one needed.
                    EnvCase{"FlagPrefixIsNotTheFlag",
                            false,
                            "offscreen",
                            {{"QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu-compositing"}},
                            {{"QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu-compositing --disable-gpu"},
                             {"QT_QUICK_BACKEND", "software"}}}),
    [](const testing::TestParamInfo<EnvCase>& param) { return std::string(param.param.name); });

}  // namespace
