// A child's output cut into lines of bounded length.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/cli/line_reader.h"

namespace {

constexpr std::size_t kMax = kovrin::cli::LineReader::kMaxLine;

struct Case {
  const char* name;
  std::vector<std::string> chunks;  // as the reads deliver them
  std::vector<std::string> lines;   // what is passed on, the last one at the end
};

TEST(LineReader, SplitsAndCapsLines) {
  const Case cases[] = {
      {"lines in one read", {"a\nbc\n"}, {"a", "bc"}},
      {"a line across reads", {"[diag] win", "dow: 640x480\nnext"}, {"[diag] window: 640x480", "next"}},
      {"empty lines", {"\n\n"}, {"", ""}},
      {"exactly the limit", {std::string(kMax, 'x') + "\nok\n"}, {std::string(kMax, 'x'), "ok"}},
      {"over-long line cut, next line whole", {std::string(kMax + 10, 'y') + "\nok\n"}, {std::string(kMax, 'y'), "ok"}},
      {"over-long across many reads",
       {std::string(kMax - 1, 'z'), "zz", std::string(3 * kMax, 'z'), "tail\nafter"},
       {std::string(kMax, 'z'), "after"}},
      {"never ended, ever longer",
       {std::string(kMax, 'q'), std::string(kMax, 'q'), std::string(kMax, 'q')},
       {std::string(kMax, 'q')}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kovrin::cli::LineReader reader;
    std::vector<std::string> got;
    const kovrin::cli::LineReader::Sink sink = [&got](std::string_view line) { got.emplace_back(line); };
    for (const std::string& chunk : c.chunks) reader.Feed(chunk, sink);
    reader.Finish(sink);
    ASSERT_EQ(got.size(), c.lines.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].size(), c.lines[i].size()) << "line " << i;
      EXPECT_EQ(got[i], c.lines[i]) << "line " << i;
    }
  }
}

}  // namespace
