// The details report: 13 lines in order for the default benchmark, nothing
// for the customised one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/submit/detail_lines.h"

namespace {

kovrin::launcher::ResultsTable KnownTable() {
  kovrin::launcher::ResultsTable table;
  table.QuillfireFPS_1_1 = 611;
  table.QuillfireFPS_1_2 = 598;
  table.QuillfireFPS_2_1 = 240;
  table.QuillfireFPS_2_2 = 1234;
  table.QuillfireFPS_3_1 = 97;
  table.QuillfireFPS_3_2 = 0;
  table.LumavaneFPS_1_1 = 45000;
  table.LumavaneFPS_1_2 = 2147483647;
  table.LumavaneFPS_2_1 = 7;
  table.LumavaneFPS_2_2 = 10;
  table.LumavaneFPS_3_1 = 100000;
  table.LumavaneFPS_3_2 = -3;
  table.Result = 4711;
  return table;
}

TEST(DetailLines, ThirteenLinesInTableOrder) {
  const std::vector<std::string> expected = {
      "Kovrin Results: 102,9 fps",
      "Overdraw Stress Test (OpenGL) 640x480x16: 611 fps",
      "Overdraw Stress Test (OpenGL) 640x480x32: 598 fps",
      "Overdraw Stress Test (OpenGL) 1024x768x16: 240 fps",
      "Overdraw Stress Test (OpenGL) 1024x768x32: 1234 fps",
      "Overdraw Stress Test (OpenGL) 1600x1200x16: 97 fps",
      "Overdraw Stress Test (OpenGL) 1600x1200x32: 0 fps",
      "Alpha Blending Performance (OpenGL) 640x480x16: 45000 fps",
      "Alpha Blending Performance (OpenGL) 640x480x32: 2147483647 fps",
      "Alpha Blending Performance (OpenGL) 1024x768x16: 7 fps",
      "Alpha Blending Performance (OpenGL) 1024x768x32: 10 fps",
      "Alpha Blending Performance (OpenGL) 1600x1200x16: 100000 fps",
      "Alpha Blending Performance (OpenGL) 1600x1200x32: -3 fps",
  };
  const std::vector<std::string> lines = kovrin::submit::DetailLines(true, "102,9 fps", KnownTable());
  ASSERT_EQ(lines.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
}

TEST(DetailLines, ScoreLineTakesTheCaptionUnchanged) {
  EXPECT_EQ(kovrin::submit::DetailLines(true, "", KnownTable()).front(), "Kovrin Results: ");
  EXPECT_EQ(kovrin::submit::DetailLines(true, "n.a.", KnownTable()).front(), "Kovrin Results: n.a.");
}

TEST(DetailLines, UntouchedTableShowsZeros) {
  const std::vector<std::string> lines = kovrin::submit::DetailLines(true, "0 fps", kovrin::launcher::ResultsTable{});
  ASSERT_EQ(lines.size(), 13u);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].substr(lines[i].size() - 7), ": 0 fps") << "line " << i + 1 << ": " << lines[i];
  }
}

TEST(DetailLines, CustomisedModeGivesNoLines) {
  EXPECT_TRUE(kovrin::submit::DetailLines(false, "102,9 fps", KnownTable()).empty());
}

}  // namespace
