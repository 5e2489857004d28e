#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "launcher/cli/command_line.h"

namespace {

using Action = kovrin::cli::CommandLine::Action;

struct Case {
  std::vector<std::string> args;
  Action action;
  std::optional<std::string> jsonFile;
  int timeoutSeconds;
  std::string errorPart;  // for Action::Error
};

std::string Joined(const std::vector<std::string>& args) {
  std::string joined;
  for (const std::string& arg : args) joined += "[" + arg + "]";
  return joined.empty() ? "(none)" : joined;
}

TEST(CommandLine, TableOfArguments) {
  const Case cases[] = {
      {{}, Action::Window, std::nullopt, 60, ""},
      {{"--headless"}, Action::Headless, std::nullopt, 60, ""},
      {{"--headless", "--json", "out.json", "--timeout", "5"}, Action::Headless, "out.json", 5, ""},
      {{"--json", "r.json"}, Action::Headless, "r.json", 60, ""},
      {{"--timeout", "86400"}, Action::Headless, std::nullopt, 86400, ""},
      {{"--headless", "--help"}, Action::Help, std::nullopt, 60, ""},
      {{"--version", "--bogus"}, Action::Version, std::nullopt, 60, ""},
      {{"--bogus"}, Action::Error, std::nullopt, 60, "unknown argument '--bogus'"},
      {{"--headless", "extra"}, Action::Error, std::nullopt, 60, "unknown argument 'extra'"},
      {{"--json"}, Action::Error, std::nullopt, 60, "--json needs a value"},
      {{"--timeout", "0"}, Action::Error, std::nullopt, 60, "not '0'"},
      {{"--timeout", "5s"}, Action::Error, std::nullopt, 60, "not '5s'"},
      {{"--timeout", "86401"}, Action::Error, std::nullopt, 60, "not '86401'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("arguments " + Joined(c.args));
    const kovrin::cli::CommandLine line = kovrin::cli::ParseCommandLine(c.args);
    EXPECT_EQ(line.action, c.action);
    if (c.action == Action::Error) {
      EXPECT_NE(line.error.find(c.errorPart), std::string::npos)
          << "expected '" << c.errorPart << "' in '" << line.error << "'";
    } else {
      EXPECT_EQ(line.jsonFile, c.jsonFile);
      EXPECT_EQ(line.timeoutSeconds, c.timeoutSeconds);
    }
  }
}

}  // namespace
