// The dispatch of state labels, the launcher's own texts and the unattended
// message line.
#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

#include "kovrin_version.h"
#include "launcher/core/bench_labels.h"
#include "launcher/core/launcher_text.h"
#include "platform/unattended_box.h"

namespace {

using kovrin::launcher::TickTarget;

struct DispatchCase {
  const char* label;
  TickTarget target;
};

void PrintTo(const DispatchCase& c, std::ostream* os) { *os << '"' << c.label << '"'; }

class Dispatch : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(Dispatch, GoesToTheRightRunner) {
  EXPECT_EQ(kovrin::launcher::DispatchTarget(GetParam().label), GetParam().target)
      << "label \"" << GetParam().label << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Labels, Dispatch,
    ::testing::Values(
        DispatchCase{"", TickTarget::Nothing}, DispatchCase{"FullBenchStart", TickTarget::QuillfireRunner},
        DispatchCase{"Quillfire_1_1", TickTarget::QuillfireRunner}, DispatchCase{"Quillf", TickTarget::QuillfireRunner},
        DispatchCase{"Quill", TickTarget::Nothing}, DispatchCase{"quillfire_1_1", TickTarget::Nothing},
        DispatchCase{"Lumavane_3_2_Start", TickTarget::LumavaneRunner},
        DispatchCase{"Lumavan", TickTarget::LumavaneRunner}, DispatchCase{"Lumava", TickTarget::Nothing},
        DispatchCase{"CustomBench", TickTarget::CustomRunner},
        DispatchCase{"CustomBenchmark", TickTarget::CustomRunner}, DispatchCase{"customBench", TickTarget::Nothing},
        DispatchCase{"FullBenchEnd", TickTarget::Finish}, DispatchCase{"fullbenchend", TickTarget::Finish},
        DispatchCase{"FULLBENCHEND", TickTarget::Finish}, DispatchCase{"FullBenchEnded", TickTarget::Nothing},
        DispatchCase{"fullbenchstart", TickTarget::Nothing}));

TEST(Labels, StartAndWaitingLabelsOfTheRuns) {
  EXPECT_EQ(kovrin::launcher::StartLabel(0), "FullBenchStart");
  EXPECT_EQ(kovrin::launcher::WaitingLabel(0), "Quillfire_1_1");
  EXPECT_EQ(kovrin::launcher::StartLabel(5), "Quillfire_3_2_Start");
  EXPECT_EQ(kovrin::launcher::StartLabel(6), "Lumavane_1_1_Start");
  EXPECT_EQ(kovrin::launcher::LabelAfterCollect(11), "FullBenchEnd");
}

TEST(Labels, RunnersKnowOnlyTheirOwnLabels) {
  using kovrin::launcher::TestProgram;
  EXPECT_FALSE(kovrin::launcher::StepFor(TestProgram::Lumavane, "Quillfire_1_1").has_value());
  EXPECT_FALSE(kovrin::launcher::StepFor(TestProgram::Lumavane, "FullBenchStart").has_value());
  EXPECT_FALSE(kovrin::launcher::StepFor(TestProgram::Quillfire, "Quillfire_1_1_Start").has_value());
  const auto step = kovrin::launcher::StepFor(TestProgram::Lumavane, "Lumavane_1_1_Start");
  ASSERT_TRUE(step.has_value());
  EXPECT_EQ(step->run, 6u);
}

TEST(Caption, IsBuiltFromTheVersionNumbers) {
  EXPECT_EQ(kovrin::launcher::LauncherCaption(1, 0, 54), "Kovrin 2002 - 1.0.54");
  EXPECT_EQ(kovrin::launcher::LauncherCaption(2, 10, 7), "Kovrin 2002 - 2.10.7");
  EXPECT_EQ(kovrin::launcher::LauncherCaption(),
            kovrin::launcher::LauncherCaption(kKovrinVersionMajor, kKovrinVersionMinor, kKovrinVersionPatch));
}

TEST(CleanupFailureText, IsTheThreeGermanLinesJoinedByCrLf) {
  const std::string text(kovrin::launcher::kCleanupFailureText);
  EXPECT_EQ(text,
            "Es ist ein bekannter Fehler aufgetreten!\r\n"
            "Eine Datei konnte nicht gel\xC3\xB6scht werden\r\n"
            "Um Cheat-Sicherheit zu gew\xC3\xA4hren wird abgebrochen.");
  EXPECT_NE(text.substr(text.size() - 2), "\r\n") << "no line break after the last line";
}

TEST(UntrappedErrors, CarryTheirNumberAndText) {
  const auto untrapped =
      kovrin::launcher::DescribeError(std::make_exception_ptr(kovrin::launcher::UntrappedError(53, "no device")));
  EXPECT_EQ(untrapped.number, 53);
  EXPECT_EQ(untrapped.text, "no device");
  const auto system = kovrin::launcher::DescribeError(
      std::make_exception_ptr(std::system_error(ENOENT, std::generic_category(), "open")));
  EXPECT_EQ(system.number, ENOENT);
  EXPECT_EQ(kovrin::launcher::DescribeError(std::make_exception_ptr(std::bad_alloc())).number, ENOMEM);
  const auto other = kovrin::launcher::DescribeError(std::make_exception_ptr(std::runtime_error("odd")));
  EXPECT_EQ(other.number, -1);
  EXPECT_EQ(kovrin::launcher::UntrappedErrorText(untrapped), "Error 53: no device");
}

TEST(UnattendedBox, ModeFromTheVariable) {
  EXPECT_EQ(kovrin::unattended::ModeFromEnv(nullptr), std::nullopt);
  EXPECT_EQ(kovrin::unattended::ModeFromEnv(""), std::nullopt);
  EXPECT_EQ(kovrin::unattended::ModeFromEnv("default"), kovrin::unattended::Mode::Default);
  EXPECT_EQ(kovrin::unattended::ModeFromEnv("yes"), kovrin::unattended::Mode::Yes);
  EXPECT_EQ(kovrin::unattended::ModeFromEnv("no"), kovrin::unattended::Mode::No);
  EXPECT_EQ(kovrin::unattended::ModeFromEnv("1"), kovrin::unattended::Mode::Default);
}

TEST(UnattendedBox, Answers) {
  using kovrin::unattended::Answer;
  using kovrin::unattended::Buttons;
  using kovrin::unattended::Mode;
  EXPECT_EQ(kovrin::unattended::AnswerFor(Mode::No, Buttons::Ok, Answer::Ok), Answer::Ok);
  EXPECT_EQ(kovrin::unattended::AnswerFor(Mode::Yes, Buttons::YesNo, Answer::No), Answer::Yes);
  EXPECT_EQ(kovrin::unattended::AnswerFor(Mode::No, Buttons::YesNo, Answer::Yes), Answer::No);
  EXPECT_EQ(kovrin::unattended::AnswerFor(Mode::Default, Buttons::YesNo, Answer::No), Answer::No);
}

TEST(UnattendedBox, LineWritesLineBreaksAsBackslashN) {
  EXPECT_EQ(kovrin::unattended::Line("Kovrin", std::string(kovrin::launcher::kCleanupFailureText),
                                     kovrin::unattended::Buttons::Ok, kovrin::unattended::Answer::Ok),
            "[msgbox] caption: Kovrin | text: Es ist ein bekannter Fehler aufgetreten!\\n"
            "Eine Datei konnte nicht gel\xC3\xB6scht werden\\n"
            "Um Cheat-Sicherheit zu gew\xC3\xA4hren wird abgebrochen. | buttons: OK | answer: OK");
  EXPECT_EQ(kovrin::unattended::Line("T", "a\nb", kovrin::unattended::Buttons::YesNo, kovrin::unattended::Answer::No),
            "[msgbox] caption: T | text: a\\nb | buttons: YESNO | answer: NO");
}

}  // namespace
