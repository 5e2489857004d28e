// Rules of the window-system layer that hold without a window system:
// message order and window timers, format preference, unattended boxes.
#include <gtest/gtest.h>

#include <bitset>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/message_queue.h"
#include "platform/pixel_formats.h"
#include "platform/platform.h"

namespace {

using kovrin::platform::MessageQueue;
using kovrin::platform::MSG;

kovrin::platform::HWND const kWindow = reinterpret_cast<kovrin::platform::HWND>(0x1000);

void NoTimer(kovrin::platform::HWND, uint32_t, uintptr_t, uint32_t) {}

constexpr uint64_t kMs = 1000;  // the queue's clock counts microseconds

TEST(MessageQueue, TimerTicksOnlyOncePeriodHasPassed) {
  MessageQueue q;
  q.SetTimer(kWindow, 0, 1000, NoTimer, 5000 * kMs);
  MSG m;
  EXPECT_FALSE(q.Peek(m, 5999 * kMs + 999));
  ASSERT_TRUE(q.Peek(m, 6000 * kMs));
  EXPECT_EQ(m.message, kovrin::platform::WM_TIMER);
  EXPECT_EQ(m.wParam, 0u);
  EXPECT_EQ(m.hwnd, kWindow);
  EXPECT_EQ(m.time, 6000u) << "message times are in milliseconds";
  EXPECT_FALSE(q.Peek(m, 6000 * kMs)) << "one tick per elapsed period";
}

TEST(MessageQueue, LongFrameYieldsOneTickThenTheNextOnItsDueTime) {
  MessageQueue q;
  q.SetTimer(kWindow, 0, 1000, NoTimer, 0);
  MSG m;
  // Two and a half periods pass inside one frame: one tick, not two; the
  // next falls due at 3 s, where it would have been without the long frame.
  ASSERT_TRUE(q.Peek(m, 2500 * kMs));
  EXPECT_FALSE(q.Peek(m, 2500 * kMs));
  EXPECT_FALSE(q.Peek(m, 2999 * kMs));
  EXPECT_TRUE(q.Peek(m, 3000 * kMs));
  EXPECT_FALSE(q.Peek(m, 3999 * kMs));
  EXPECT_TRUE(q.Peek(m, 4000 * kMs));
}

// The timed run's loop against a fake clock: a poll takes one message or,
// with none waiting, a frame of `frameMs` passes. Returns when the eighth
// tick is taken.
uint64_t EighthTickAtMs(uint64_t frameMs, int* frames) {
  MessageQueue q;
  q.SetTimer(kWindow, 0, 1000, NoTimer, 0);
  uint64_t now = 0;
  int ticks = 0;
  *frames = 0;
  MSG m;
  while (ticks < 8) {
    if (q.Peek(m, now)) {
      ++ticks;
    } else {
      now += frameMs * kMs;
      ++*frames;
    }
  }
  return now / kMs;
}

TEST(MessageQueue, EightTicksLastEightPeriodsPlusAtMostOneFrame) {
  // 150 ms frames: ticks counted from when they were taken would drift to
  // 9.2 s; counted from when they fell due the run ends within 8.0-8.15 s.
  // (Frames longer than a period lose the ticks that collapse.)
  const struct {
    uint64_t frameMs;
    int frames;
  } cases[] = {{150, 54}, {1, 8000}, {70, 115}, {333, 25}, {999, 9}, {1000, 8}};
  for (const auto& c : cases) {
    int frames = 0;
    const uint64_t end = EighthTickAtMs(c.frameMs, &frames);
    EXPECT_GE(end, 8000u) << "frame " << c.frameMs << " ms";
    EXPECT_LE(end, 8000u + c.frameMs) << "frame " << c.frameMs << " ms: the run overran by more than a frame";
    EXPECT_EQ(frames, c.frames) << "frame " << c.frameMs << " ms";
  }
}

TEST(MessageQueue, AZeroPeriodIsRaisedInsteadOfTickingOnEveryPoll) {
  MessageQueue q;
  q.SetTimer(kWindow, 0, 0, NoTimer, 0);
  MSG m;
  EXPECT_FALSE(q.Peek(m, 9 * kMs));
  EXPECT_TRUE(q.Peek(m, 10 * kMs));
  EXPECT_FALSE(q.Peek(m, 10 * kMs));
}

TEST(MessageQueue, WaitingMessagesComeBeforeTheTimer) {
  MessageQueue q;
  q.SetTimer(kWindow, 0, 1000, NoTimer, 0);
  q.Post(MSG{kWindow, kovrin::platform::WM_CLOSE, 0, 0, 0});
  MSG m;
  ASSERT_TRUE(q.Peek(m, 2000 * kMs));
  EXPECT_EQ(m.message, kovrin::platform::WM_CLOSE);
  ASSERT_TRUE(q.Peek(m, 2000 * kMs));
  EXPECT_EQ(m.message, kovrin::platform::WM_TIMER);
}

TEST(MessageQueue, QuitFollowsPostedMessagesAndCarriesItsCode) {
  MessageQueue q;
  q.PostQuit(3);
  q.Post(MSG{kWindow, kovrin::platform::WM_CLOSE, 0, 0, 0});
  MSG m;
  ASSERT_TRUE(q.Peek(m, 0));
  EXPECT_EQ(m.message, kovrin::platform::WM_CLOSE);
  ASSERT_TRUE(q.Peek(m, 0));
  EXPECT_EQ(m.message, kovrin::platform::WM_QUIT);
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_FALSE(q.Peek(m, 0));
}

TEST(MessageQueue, SettingATimerAgainRestartsItAndKillTimersStopsIt) {
  MessageQueue q;
  q.SetTimer(kWindow, 7, 100, NoTimer, 0);
  q.SetTimer(kWindow, 7, 100, NoTimer, 90 * kMs);
  MSG m;
  EXPECT_FALSE(q.Peek(m, 150 * kMs));
  EXPECT_TRUE(q.Peek(m, 190 * kMs));
  EXPECT_EQ(m.wParam, 7u);
  q.KillTimers(kWindow);
  EXPECT_FALSE(q.Peek(m, 10000 * kMs));
}

TEST(PixelFormats, ExactRequestComesFirstThenTheNearest) {
  const auto f16 = kovrin::platform::CandidateFormats(16, 16);
  ASSERT_FALSE(f16.empty());
  EXPECT_EQ(f16[0].red + f16[0].green + f16[0].blue, 16);
  EXPECT_EQ(f16[0].depth, 16);
  const auto f32 = kovrin::platform::CandidateFormats(32, 32);
  EXPECT_EQ(f32[0].red, 8);
  EXPECT_EQ(f32[0].depth, 32);
  // Without a 32-bit depth buffer, 24 bits with the same colour is next.
  EXPECT_EQ(f32[1].red, 8);
  EXPECT_EQ(f32[1].depth, 24);
}

TEST(PixelFormats, EveryRequestHasEveryCandidate) {
  for (const int bits : {0, 8, 16, 24, 32, 255}) {
    EXPECT_EQ(kovrin::platform::CandidateFormats(bits, bits).size(), 8u) << "bits " << bits;
  }
}

struct BoxCase {
  const char* mode;
  uint32_t flags;
  int answer;
  const char* line;
};

TEST(MessageBox, UnattendedAnswersAndPrintsOneLine) {
  const BoxCase cases[] = {
      {"default", kovrin::platform::MB_YESNO | kovrin::platform::MB_DEFBUTTON2, kovrin::platform::IDNO,
       "buttons: YESNO | answer: NO"},
      {"default", kovrin::platform::MB_YESNO, kovrin::platform::IDYES, "buttons: YESNO | answer: YES"},
      {"yes", kovrin::platform::MB_YESNO | kovrin::platform::MB_DEFBUTTON2, kovrin::platform::IDYES,
       "buttons: YESNO | answer: YES"},
      {"no", kovrin::platform::MB_YESNO, kovrin::platform::IDNO, "buttons: YESNO | answer: NO"},
      {"no", kovrin::platform::MB_OK | kovrin::platform::MB_ICONERROR, kovrin::platform::IDOK,
       "buttons: OK | answer: OK"},
  };
  for (const BoxCase& c : cases) {
    setenv("KOVRIN_MSGBOX", c.mode, 1);
    testing::internal::CaptureStderr();
    const int answer = kovrin::platform::MessageBox("a\nb", "Cap", c.flags);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, c.answer) << c.mode << " " << c.line;
    EXPECT_EQ(err, std::string("[msgbox] caption: Cap | text: a\\nb | ") + c.line + "\n");
  }
  unsetenv("KOVRIN_MSGBOX");
}

// KOVRIN_FAULT is matched item by item, whole names only, as scripts spell
// them; anything else is handed back as unknown rather than quietly ignored.
struct FaultListCase {
  const char* value;
  std::vector<kovrin::platform::FaultStep> steps;
  std::vector<std::string> unknown;
};

TEST(FaultSteps, TheVariableNamesStepsByTheirWholeNames) {
  using kovrin::platform::FaultStep;
  const FaultListCase cases[] = {
      {"", {}, {}},
      {"create_window", {FaultStep::CreateWindow}, {}},
      {"release_current,delete_context,release_dc,destroy_window",
       {FaultStep::ReleaseCurrent, FaultStep::DeleteContext, FaultStep::ReleaseDc, FaultStep::DestroyWindow},
       {}},
      {",,gen_lists,", {FaultStep::GenLists}, {}},
      {"create", {}, {"create"}},
      {"create_window_now", {}, {"create_window_now"}},
      {"CREATE_WINDOW", {}, {"CREATE_WINDOW"}},
      {"get_dc, set_format", {FaultStep::GetDc}, {" set_format"}},
  };
  for (const FaultListCase& c : cases) {
    const kovrin::platform::FaultList list = kovrin::platform::ParseFaultList(c.value);
    std::bitset<kovrin::platform::kFaultStepCount> expected;
    for (const FaultStep step : c.steps) expected.set(static_cast<std::size_t>(step));
    EXPECT_EQ(list.steps, expected) << "KOVRIN_FAULT=\"" << c.value << "\"";
    EXPECT_EQ(list.unknown, c.unknown) << "KOVRIN_FAULT=\"" << c.value << "\"";
  }
}

TEST(FaultSteps, EachNameInTheTableMakesExactlyItsOwnStepFail) {
  for (const kovrin::platform::FaultStepName& row : kovrin::platform::kFaultSteps) {
    const kovrin::platform::FaultList list = kovrin::platform::ParseFaultList(row.name);
    EXPECT_EQ(list.steps.count(), 1u) << row.name;
    EXPECT_TRUE(list.steps.test(static_cast<std::size_t>(row.step))) << row.name;
    EXPECT_TRUE(list.unknown.empty()) << row.name;
    EXPECT_EQ(kovrin::platform::FaultStepNameOf(row.step), row.name);
  }
}

}  // namespace
