// The manual page kovrin(1) against the help the binary prints: an option,
// environment variable or exit status added to one and not the other fails
// here, naming it.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "launcher/cli/command_line.h"

namespace {

using Words = std::set<std::string>;

std::string Join(const Words& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

// The manual page as section name -> the tags of its .TP items, with roff's
// escapes, fonts and quotes taken out, so ".BR \-\-help \", \" \-h" reads
// "--help , -h".
std::map<std::string, std::vector<std::string>> ManualTags() {
  std::ifstream file(KOVRIN_SOURCE_DIR "/packaging/kovrin.1");
  EXPECT_TRUE(file) << "cannot read packaging/kovrin.1";
  std::map<std::string, std::vector<std::string>> tags;
  std::string section;
  std::string line;
  bool tagNext = false;
  while (std::getline(file, line)) {
    if (line.starts_with(".SH ")) {
      section = line.substr(4);
      tagNext = false;
    } else if (line == ".TP") {
      tagNext = true;
    } else if (tagNext) {
      line = std::regex_replace(line, std::regex(R"(^\.[A-Z]+ )"), "");
      line = std::regex_replace(line, std::regex(R"(\\f[BIRP])"), "");
      line = std::regex_replace(line, std::regex(R"(\\-)"), "-");
      line = std::regex_replace(line, std::regex("\""), "");
      tags[section].push_back(line);
      tagNext = false;
    }
  }
  return tags;
}

// Every match of `pattern` (its first group when it has one) in `text`.
Words Matches(const std::string& text, const std::string& pattern) {
  Words words;
  const std::regex re(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it) {
    words.insert((*it)[it->size() > 1 ? 1 : 0].str());
  }
  return words;
}

Words MatchesInTags(const std::vector<std::string>& tags, const std::string& pattern) {
  Words words;
  for (const std::string& tag : tags) words.merge(Matches(tag, pattern));
  return words;
}

// The help's paragraph that begins with `start`, up to the next blank line.
std::string HelpParagraph(const std::string& start) {
  const std::string help = kovrin::cli::HelpText();
  const std::size_t begin = help.find(start);
  if (begin == std::string::npos) return {};
  return help.substr(begin, help.find("\n\n", begin) - begin);
}

TEST(ManualPage, DocumentsEveryOptionOfTheHelpAndNoneTheLauncherRefuses) {
  const auto tags = ManualTags();
  ASSERT_TRUE(tags.contains("OPTIONS")) << "the manual page has no OPTIONS section with .TP items";
  // The help lists its options at the start of lines indented by two blanks.
  const Words helpOptions = Matches(kovrin::cli::HelpText(), R"((?:^|\n)  (-[-a-z0-9]+))");
  ASSERT_FALSE(helpOptions.empty()) << "no options found in the help:\n" << kovrin::cli::HelpText();
  const Words manualOptions = MatchesInTags(tags.at("OPTIONS"), R"((?:^|[ ,])(-[-a-z0-9]+))");

  for (const std::string& option : helpOptions) {
    EXPECT_TRUE(manualOptions.contains(option))
        << "the help lists " << option << " but the manual page's OPTIONS do not; they have: " << Join(manualOptions);
  }
  for (const std::string& option : manualOptions) {
    const kovrin::cli::CommandLine line = kovrin::cli::ParseCommandLine({option});
    EXPECT_FALSE(line.action == kovrin::cli::CommandLine::Action::Error && line.error.starts_with("unknown argument"))
        << "the manual page documents " << option << ", which kovrin refuses: " << line.error;
  }
}

TEST(ManualPage, DocumentsTheHelpsEnvironmentVariablesAndExitStatuses) {
  const auto tags = ManualTags();
  const Words manualVariables =
      MatchesInTags(tags.count("ENVIRONMENT") ? tags.at("ENVIRONMENT") : std::vector<std::string>{}, R"([A-Z][A-Z_]+)");
  for (const std::string& variable : Matches(kovrin::cli::HelpText(), R"(\bKOVRIN_[A-Z_]+)")) {
    EXPECT_TRUE(manualVariables.contains(variable))
        << "the help names " << variable << " but the manual page's ENVIRONMENT does not";
  }

  const std::string exitParagraph = HelpParagraph("Exit status:");
  ASSERT_FALSE(exitParagraph.empty()) << "the help has no paragraph beginning 'Exit status:'";
  const Words helpStatuses = Matches(exitParagraph, R"(\b[0-9]+\b)");
  const Words manualStatuses =
      MatchesInTags(tags.count("EXIT STATUS") ? tags.at("EXIT STATUS") : std::vector<std::string>{}, R"(^[0-9]+$)");
  EXPECT_EQ(helpStatuses, manualStatuses)
      << "exit statuses in the help: " << Join(helpStatuses) << "; in the manual page: " << Join(manualStatuses);
}

}  // namespace
