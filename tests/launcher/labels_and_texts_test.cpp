// The dispatch of state labels, the launcher's own texts and the unattended
// message line.
#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

#include "bench_labels.h"
#include "launcher_text.h"
#include "unattended_box.h"

namespace {

using launcher::TickTarget;

struct DispatchCase {
  const char* label;
  TickTarget target;
};

void PrintTo(const DispatchCase& c, std::ostream* os) { *os << '"' << c.label << '"'; }

class Dispatch : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(Dispatch, GoesToTheRightRunner) {
  EXPECT_EQ(launcher::DispatchTarget(GetParam().label), GetParam().target)
      << "label \"" << GetParam().label << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Labels, Dispatch,
    ::testing::Values(DispatchCase{"", TickTarget::Nothing},
                      DispatchCase{"FullBenchStart", TickTarget::QuillfireRunner},
                      DispatchCase{"Quillfire_1_1", TickTarget::QuillfireRunner},
                      DispatchCase{"Quillf", TickTarget::QuillfireRunner},
                      DispatchCase{"Quill", TickTarget::Nothing},
                      DispatchCase{"quillfire_1_1", TickTarget::Nothing},
                      DispatchCase{"Lumavane_3_2_Start", TickTarget::LumavaneRunner},
                      DispatchCase{"Lumavan", TickTarget::LumavaneRunner},
                      DispatchCase{"Lumava", TickTarget::Nothing},
                      DispatchCase{"CustomBench", TickTarget::CustomRunner},
                      DispatchCase{"CustomBenchmark", TickTarget::CustomRunner},
                      DispatchCase{"customBench", TickTarget::Nothing},
                      DispatchCase{"FullBenchEnd", TickTarget::Finish},
                      DispatchCase{"fullbenchend", TickTarget::Finish},
                      DispatchCase{"FULLBENCHEND", TickTarget::Finish},
                      DispatchCase{"FullBenchEnded", TickTarget::Nothing},
                      DispatchCase{"fullbenchstart", TickTarget::Nothing}));

TEST(Labels, StartAndWaitingLabelsOfTheRuns) {
  EXPECT_EQ(launcher::StartLabel(0), "FullBenchStart");
  EXPECT_EQ(launcher::WaitingLabel(0), "Quillfire_1_1");
  EXPECT_EQ(launcher::StartLabel(5), "Quillfire_3_2_Start");
  EXPECT_EQ(launcher::StartLabel(6), "Lumavane_1_1_Start");
  EXPECT_EQ(launcher::LabelAfterCollect(11), "FullBenchEnd");
}

TEST(Labels, RunnersKnowOnlyTheirOwnLabels) {
  using launcher::TestProgram;
  EXPECT_FALSE(launcher::StepFor(TestProgram::Lumavane, "Quillfire_1_1").has_value());
  EXPECT_FALSE(launcher::StepFor(TestProgram::Lumavane, "FullBenchStart").has_value());
  EXPECT_FALSE(launcher::StepFor(TestProgram::Quillfire, "Quillfire_1_1_Start").has_value());
  const auto step = launcher::StepFor(TestProgram::Lumavane, "Lumavane_1_1_Start");
  ASSERT_TRUE(step.has_value());
  EXPECT_EQ(step->run, 6u);
}

TEST(Caption, IsBuiltFromTheVersionNumbers) {
  EXPECT_EQ(launcher::LauncherCaption(1, 0, 54), "Kovrin 2002 - 1.0.54");
  EXPECT_EQ(launcher::LauncherCaption(2, 10, 7), "Kovrin 2002 - 2.10.7");
  EXPECT_EQ(launcher::LauncherCaption(),
            launcher::LauncherCaption(KOVRIN_VERSION_MAJOR, KOVRIN_VERSION_MINOR, KOVRIN_VERSION_PATCH));
}

TEST(CleanupFailureText, IsTheThreeGermanLinesJoinedByCrLf) {
  const std::string text(launcher::kCleanupFailureText);
  EXPECT_EQ(text,
            "Es ist ein bekannter Fehler aufgetreten!\r\n"
            "Eine Datei konnte nicht gel\xC3\xB6scht werden\r\n"
            "Um Cheat-Sicherheit zu gew\xC3\xA4hren wird abgebrochen.");
  EXPECT_NE(text.substr(text.size() - 2), "\r\n") << "no line break after the last line";
}

TEST(UntrappedErrors, CarryTheirNumberAndText) {
  const auto untrapped = launcher::DescribeError(std::make_exception_ptr(launcher::UntrappedError(53, "no device")));
  EXPECT_EQ(untrapped.number, 53);
  EXPECT_EQ(untrapped.text, "no device");
  const auto system = launcher::DescribeError(
      std::make_exception_ptr(std::system_error(ENOENT, std::generic_category(), "open")));
  EXPECT_EQ(system.number, ENOENT);
  EXPECT_EQ(launcher::DescribeError(std::make_exception_ptr(std::bad_alloc())).number, ENOMEM);
  const auto other = launcher::DescribeError(std::make_exception_ptr(std::runtime_error("odd")));
  EXPECT_EQ(other.number, -1);
  EXPECT_EQ(launcher::UntrappedErrorText(untrapped), "Error 53: no device");
}

TEST(UnattendedBox, ModeFromTheVariable) {
  EXPECT_EQ(launcher::UnattendedModeFromEnv(nullptr), std::nullopt);
  EXPECT_EQ(launcher::UnattendedModeFromEnv(""), std::nullopt);
  EXPECT_EQ(launcher::UnattendedModeFromEnv("default"), launcher::UnattendedMode::Default);
  EXPECT_EQ(launcher::UnattendedModeFromEnv("yes"), launcher::UnattendedMode::Yes);
  EXPECT_EQ(launcher::UnattendedModeFromEnv("no"), launcher::UnattendedMode::No);
  EXPECT_EQ(launcher::UnattendedModeFromEnv("1"), launcher::UnattendedMode::Default);
}

TEST(UnattendedBox, Answers) {
  using launcher::BoxAnswer;
  using launcher::BoxButtons;
  using launcher::UnattendedMode;
  EXPECT_EQ(launcher::UnattendedAnswer(UnattendedMode::No, BoxButtons::Ok, BoxAnswer::Ok), BoxAnswer::Ok);
  EXPECT_EQ(launcher::UnattendedAnswer(UnattendedMode::Yes, BoxButtons::YesNo, BoxAnswer::No), BoxAnswer::Yes);
  EXPECT_EQ(launcher::UnattendedAnswer(UnattendedMode::No, BoxButtons::YesNo, BoxAnswer::Yes), BoxAnswer::No);
  EXPECT_EQ(launcher::UnattendedAnswer(UnattendedMode::Default, BoxButtons::YesNo, BoxAnswer::No), BoxAnswer::No);
}

TEST(UnattendedBox, LineWritesLineBreaksAsBackslashN) {
  EXPECT_EQ(launcher::UnattendedLine("Kovrin", std::string(launcher::kCleanupFailureText), launcher::BoxButtons::Ok,
                                     launcher::BoxAnswer::Ok),
            "[msgbox] caption: Kovrin | text: Es ist ein bekannter Fehler aufgetreten!\\n"
            "Eine Datei konnte nicht gel\xC3\xB6scht werden\\n"
            "Um Cheat-Sicherheit zu gew\xC3\xA4hren wird abgebrochen. | buttons: OK | answer: OK");
  EXPECT_EQ(launcher::UnattendedLine("T", "a\nb", launcher::BoxButtons::YesNo, launcher::BoxAnswer::No),
            "[msgbox] caption: T | text: a\\nb | buttons: YESNO | answer: NO");
}

}  // namespace
