// The launcher's --submit option as the command line takes it.
#include <gtest/gtest.h>

#include <sstream>

#include "launcher/cli/command_line.h"
#include "launcher/cli/result_upload.h"

namespace {

TEST(SubmitOption, TakesAnHttpUrlAndAsksForTheHeadlessRun) {
  const kovrin::cli::CommandLine line = kovrin::cli::ParseCommandLine({"--submit", "http://127.0.0.1:8080"});
  EXPECT_EQ(line.action, kovrin::cli::CommandLine::Action::Headless);
  EXPECT_EQ(line.submitUrl, "http://127.0.0.1:8080");
  EXPECT_EQ(kovrin::cli::ParseCommandLine({"--headless", "--submit", "https://results.example/kovrin/"}).submitUrl,
            "https://results.example/kovrin/");
  EXPECT_FALSE(kovrin::cli::ParseCommandLine({"--headless"}).submitUrl);
}

TEST(SubmitOption, RefusesWhatIsNoServiceUrl) {
  struct Case {
    std::vector<std::string> args;
    const char* error;
  };
  const Case cases[] = {
      {{"--submit"}, "--submit needs a value"},
      {{"--submit", ""}, "--submit needs the http:// or https:// URL of a results service, not ''"},
      {{"--submit", "ftp://host"}, "--submit needs the http:// or https:// URL of a results service, not 'ftp://host'"},
      {{"--submit", "127.0.0.1:8080"},
       "--submit needs the http:// or https:// URL of a results service, not '127.0.0.1:8080'"},
      {{"--compare", "a", "b", "--submit", "http://h"},
       "--compare takes only --json besides its two files, not --submit"},
  };
  for (const Case& c : cases) {
    const kovrin::cli::CommandLine line = kovrin::cli::ParseCommandLine(c.args);
    EXPECT_EQ(line.action, kovrin::cli::CommandLine::Action::Error) << c.args.front();
    EXPECT_EQ(line.error, c.error);
  }
}

TEST(SubmitOption, AnUnusableUrlIsReportedNotPosted) {
  for (const std::string url : {"http://", "gopher://h", "no url"}) {
    std::ostringstream out, err;
    EXPECT_FALSE(kovrin::cli::UploadResult(url, "{}", out, err)) << url;
    EXPECT_EQ(err.str().rfind("kovrin: cannot submit the result to " + url + ": ", 0), 0u) << err.str();
    EXPECT_TRUE(out.str().empty());
  }
}

}  // namespace
