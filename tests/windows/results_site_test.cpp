// The results site: the build's values, the run-time override and what may
// stand unquoted in the page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "launcher/submit/results_site.h"

namespace {

struct BaseCase {
  const char* base;
  bool usable;
};

class SiteBase : public testing::TestWithParam<BaseCase> {};

TEST_P(SiteBase, IsUsableOnlyAsPlainHttpUrl) {
  EXPECT_EQ(kovrin::submit::IsUsableSiteBase(GetParam().base), GetParam().usable)
      << "base \"" << GetParam().base << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Bases, SiteBase,
    testing::Values(BaseCase{"https://results.kovrin.example", true}, BaseCase{"http://127.0.0.1:8080", true},
                    BaseCase{"http://127.0.0.1:8080/", true}, BaseCase{"https://example.org/sub/site", true},
                    BaseCase{"", false}, BaseCase{"http://", false}, BaseCase{"https:///", false},
                    BaseCase{"ftp://example.org", false}, BaseCase{"example.org", false},
                    BaseCase{"http://example.org/a b", false}, BaseCase{"http://example.org/\"x", false},
                    BaseCase{"http://example.org/'x", false}, BaseCase{"http://example.org/>x", false},
                    BaseCase{"http://example.org/<x", false}, BaseCase{"http://example.org/?a=b", false},
                    BaseCase{"http://example.org/`", false}, BaseCase{"http://exa\tmple.org", false},
                    BaseCase{"http://b\xC3\xBC"
                             "cher.example",
                             false},
                    // No host: the browser would have to guess where to post.
                    BaseCase{"http:///prte", false}, BaseCase{"https://?x", false},
                    BaseCase{"http://user@:8080/x", false}, BaseCase{"http://:80", false},
                    BaseCase{"http://user@results.example:8080/x", true}));

TEST(ChooseSiteBase, BuildValueWithoutEnvironment) {
  EXPECT_EQ(kovrin::submit::ChooseSiteBase(nullptr, "https://build.example"), "https://build.example");
}

TEST(ChooseSiteBase, EnvironmentReplacesTheBuildValue) {
  EXPECT_EQ(kovrin::submit::ChooseSiteBase("http://127.0.0.1:4242/", "https://build.example"), "http://127.0.0.1:4242");
}

TEST(ChooseSiteBase, UnusableEnvironmentValueIsIgnored) {
  EXPECT_EQ(kovrin::submit::ChooseSiteBase("http://evil.example/><script>", "https://build.example"),
            "https://build.example");
  EXPECT_EQ(kovrin::submit::ChooseSiteBase("", "https://build.example/"), "https://build.example");
}

TEST(SiteAt, EndpointAndRedirectUnderTheBase) {
  const kovrin::submit::ResultsSite site = kovrin::submit::SiteAt("http://127.0.0.1:4242", "me@example.org");
  EXPECT_EQ(site.formMailUrl, "http://127.0.0.1:4242/cgi-bin/ezformml.cgi");
  EXPECT_EQ(site.redirectUrl, "http://127.0.0.1:4242/kovrin/redirect.htm");
  EXPECT_EQ(site.recipient, "me@example.org");
}

TEST(BuildSite, ConfiguredValuesAreUsable) {
  EXPECT_TRUE(kovrin::submit::IsUsableSiteBase(kovrin::submit::BuildSiteBase())) << kovrin::submit::BuildSiteBase();
  EXPECT_NE(kovrin::submit::BuildRecipient().find('@'), std::string_view::npos) << kovrin::submit::BuildRecipient();
}

// The launcher reads the variable each time it builds a page.
class LauncherSite : public testing::Test {
 protected:
  void TearDown() override { ::unsetenv(kovrin::submit::kSiteVariable); }
};

TEST_F(LauncherSite, BuildValuesWithoutTheVariable) {
  ::unsetenv(kovrin::submit::kSiteVariable);
  const kovrin::submit::ResultsSite site = kovrin::submit::LauncherResultsSite();
  EXPECT_EQ(site.formMailUrl, std::string(kovrin::submit::BuildSiteBase()) + "/cgi-bin/ezformml.cgi");
  EXPECT_EQ(site.recipient, kovrin::submit::BuildRecipient());
}

TEST_F(LauncherSite, VariableReplacesTheBaseOnly) {
  ::setenv(kovrin::submit::kSiteVariable, "http://127.0.0.1:4242", 1);
  const kovrin::submit::ResultsSite site = kovrin::submit::LauncherResultsSite();
  EXPECT_EQ(site.formMailUrl, "http://127.0.0.1:4242/cgi-bin/ezformml.cgi");
  EXPECT_EQ(site.redirectUrl, "http://127.0.0.1:4242/kovrin/redirect.htm");
  EXPECT_EQ(site.recipient, kovrin::submit::BuildRecipient());
}

TEST_F(LauncherSite, UnusableVariableFallsBackToTheBuild) {
  ::setenv(kovrin::submit::kSiteVariable, "http://x.example/ onclick=alert(1)", 1);
  testing::internal::CaptureStderr();
  const kovrin::submit::ResultsSite site = kovrin::submit::LauncherResultsSite();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(site.formMailUrl, std::string(kovrin::submit::BuildSiteBase()) + "/cgi-bin/ezformml.cgi");
  EXPECT_NE(said.find("KOVRIN_RESULTS_SITE"), std::string::npos) << "stderr: " << said;
}

}  // namespace
