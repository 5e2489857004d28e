// The timed run's rules: result text and file, ticks, window messages.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "framework/main_loop.h"
#include "tests/support/program_runner.h"
#include "tests/support/scratch_folder.h"

using kovrin::framework::ResultText;

namespace {

TEST(ResultText, IsFrameCountDividedByEightTruncated) {
  const std::pair<int32_t, const char*> cases[] = {{0, "0"}, {7, "0"}, {8, "1"}, {600, "75"}, {4813, "601"}};
  for (const auto& [frames, text] : cases) EXPECT_EQ(ResultText(frames), text) << "frames " << frames;
}

class InScratchFolder : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.Path());
  }
  void TearDown() override { std::filesystem::current_path(previous_); }
  std::filesystem::path previous_;
  kovrin::test::ScratchFolder folder_;
};

TEST_F(InScratchFolder, WriteResultsWritesDigitsAndCrLfOnly) {
  FrameCount = 4813;
  WriteResults();
  EXPECT_EQ(kovrin::test::ReadFileBytes("results.fps"), "601\r\n");
}

TEST_F(InScratchFolder, WriteResultsReplacesAnOldFile) {
  WriteTextFile("123456789 and more", "results.fps");
  FrameCount = 0;
  WriteResults();
  EXPECT_EQ(kovrin::test::ReadFileBytes("results.fps"), "0\r\n");
}

TEST_F(InScratchFolder, WriteTextFileIntoAFolderThatCannotBeWrittenIsSilent) {
  std::filesystem::create_directory("results.fps");  // cannot be opened as a file
  WriteTextFile("1", "results.fps");
  EXPECT_TRUE(std::filesystem::is_directory("results.fps"));
}

TEST(TimerProc, EighthTickEndsTheRun) {
  TickCount = 0;
  RunDone = false;
  for (int tick = 1; tick <= 7; ++tick) {
    TimerProc(nullptr, kovrin::platform::WM_TIMER, 0, 0);
    EXPECT_FALSE(RunDone) << "after tick " << tick;
  }
  TimerProc(nullptr, kovrin::platform::WM_TIMER, 0, 0);
  EXPECT_TRUE(RunDone);
  EXPECT_EQ(TickCount, 8);
}

TEST(CountFrame, ReturnsTheNewCount) {
  FrameCount = 41;
  EXPECT_EQ(CountFrame(), 42);
  EXPECT_EQ(FrameCount, 42);
}

// Drains the thread's queue; returns the messages seen.
std::vector<kovrin::platform::MSG> Drain() {
  std::vector<kovrin::platform::MSG> seen;
  kovrin::platform::MSG msg;
  while (kovrin::platform::PeekMessage(msg)) {
    seen.push_back(msg);
    if (seen.size() > 16) break;
  }
  return seen;
}

TEST(WndProc, CloseRequestBecomesQuitWithCodeZero) {
  Drain();
  EXPECT_EQ(WndProc(nullptr, kovrin::platform::WM_CLOSE, 0, 0), 0);
  const auto seen = Drain();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].message, kovrin::platform::WM_QUIT);
  EXPECT_EQ(seen[0].wParam, 0u);
}

TEST(WndProc, ScreenSaverAndMonitorPowerAreSwallowed) {
  Drain();
  EXPECT_EQ(WndProc(nullptr, kovrin::platform::WM_SYSCOMMAND, kovrin::platform::SC_SCREENSAVE, 0), 0);
  EXPECT_EQ(WndProc(nullptr, kovrin::platform::WM_SYSCOMMAND, kovrin::platform::SC_MONITORPOWER, 2), 0);
  EXPECT_TRUE(Drain().empty());
}

TEST(WndProc, SystemCloseGoesThroughDefaultHandlingToClose) {
  Drain();
  WndProc(nullptr, kovrin::platform::WM_SYSCOMMAND, kovrin::platform::SC_CLOSE, 0);
  const auto seen = Drain();
  ASSERT_EQ(seen.size(), 1u);
  ASSERT_EQ(seen[0].message, kovrin::platform::WM_CLOSE);
  WndProc(seen[0].hwnd, seen[0].message, seen[0].wParam, seen[0].lParam);
  const auto then = Drain();
  ASSERT_EQ(then.size(), 1u);
  EXPECT_EQ(then[0].message, kovrin::platform::WM_QUIT);
}

TEST(WndProc, CommandsAreComparedWhole) {
  Drain();
  // The low four bits make it another command: not swallowed, not a close.
  EXPECT_EQ(WndProc(nullptr, kovrin::platform::WM_SYSCOMMAND, kovrin::platform::SC_SCREENSAVE | 1u, 0), 0);
  EXPECT_TRUE(Drain().empty());
}

}  // namespace
