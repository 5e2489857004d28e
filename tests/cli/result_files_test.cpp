// The files around a result: CSV fields, the results folder's names and its
// refusal to overwrite, the processor line, and the new options' parsing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "launcher/cli/command_line.h"
#include "launcher/cli/result_csv.h"
#include "launcher/cli/results_folder.h"
#include "launcher/cli/system_facts.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

TEST(ResultCsv, FieldsAreQuotedWhenTheyMustBe) {
  struct Case {
    const char* text;
    const char* field;
  } const cases[] = {
      {"plain", "plain"},
      {"", ""},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {" lead", "\" lead\""},
      {"cr\r", "\"cr\r\""},
  };
  for (const Case& c : cases) EXPECT_EQ(kovrin::cli::CsvField(c.text), c.field) << c.text;
}

TEST(ResultsFolder, NamesAndNeverOverwrites) {
  EXPECT_EQ(kovrin::cli::ResultsFolder("/x/data", "/home/u"), fs::path("/x/data/kovrin/results"));
  EXPECT_EQ(kovrin::cli::ResultsFolder("", "/home/u"), fs::path("/home/u/.local/share/kovrin/results"));
  EXPECT_EQ(kovrin::cli::FileNameRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"), "llvmpipe-LLVM-15.0.6-256-bits");
  EXPECT_EQ(kovrin::cli::FileNameRenderer("../..//"), "unknown");
  EXPECT_EQ(kovrin::cli::FileNameRenderer(""), "unknown");

  kovrin::test::ScratchFolder temp;
  const fs::path folder = temp.Path() / "results";
  std::string error;
  const auto first = kovrin::cli::SaveNewResult(folder, "stem", "one", error);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const auto second = kovrin::cli::SaveNewResult(folder, "stem", "two", error);
  ASSERT_TRUE(first && second) << error;
  EXPECT_EQ(first->filename(), "stem.json");
  EXPECT_EQ(second->filename(), "stem-2.json");
  EXPECT_EQ(kovrin::cli::ResolveResultName("last", folder, error), *second);
  EXPECT_EQ(kovrin::cli::ResolveResultName("previous", folder, error), *first);
  EXPECT_EQ(kovrin::cli::ResolveResultName("other.json", folder, error), fs::path("other.json"));
  EXPECT_FALSE(kovrin::cli::ResolveResultName("last", temp.Path() / "none", error));
  EXPECT_NE(error.find("holds 0"), std::string::npos) << error;
}

TEST(SystemFacts, ProcessorModel) {
  EXPECT_EQ(kovrin::cli::CpuModel("processor\t: 0\nmodel name\t: AMD Ryzen 7 5800X  \nmodel name\t: other\n"),
            "AMD Ryzen 7 5800X");
  EXPECT_EQ(kovrin::cli::CpuModel("processor : 0\nHardware : BCM2835\n"), "BCM2835");
  EXPECT_EQ(kovrin::cli::CpuModel("processor : 0\n"), "");
}

TEST(CommandLine, RunAndCompareOptions) {
  using Action = kovrin::cli::CommandLine::Action;
  const kovrin::cli::CommandLine run =
      kovrin::cli::ParseCommandLine({"--repeat", "2", "--sizes", "1920x1080,640x480", "--depths", "16", "--tests",
                                     "lumavane", "--csv", "a.csv", "--save"});
  EXPECT_EQ(run.action, Action::Headless);
  EXPECT_EQ(run.repeat, 2);
  EXPECT_EQ(run.matrix.sizes, (std::vector<kovrin::cli::ScreenSize>{{640, 480}, {1920, 1080}}))
      << "runs keep the default order";
  EXPECT_EQ(run.csvFile, "a.csv");
  EXPECT_TRUE(run.save);
  const kovrin::cli::CommandLine compare =
      kovrin::cli::ParseCommandLine({"--compare", "last", "b.json", "--json", "c.json"});
  EXPECT_EQ(compare.action, Action::Compare);
  EXPECT_EQ(compare.compareBase, "last");
  EXPECT_EQ(compare.compareNew, "b.json");
  EXPECT_EQ(compare.jsonFile, "c.json");
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--compare", "a.json"},
                                              {"--compare", "a", "b", "--repeat", "2"},
                                              {"--repeat", "x"},
                                              {"--sizes", "big"},
                                              {"--csv", ""}}) {
    EXPECT_EQ(kovrin::cli::ParseCommandLine(bad).action, Action::Error) << bad[0] << " " << bad.back();
  }
}

}  // namespace
