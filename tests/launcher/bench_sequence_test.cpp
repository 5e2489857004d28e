// The benchmark sequence against a real scratch folder and a fake window.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "launcher/core/bench_sequence.h"
#include "launcher/core/handoff_folder.h"
#include "launcher/core/launcher_text.h"
#include "launcher/core/results_table.h"
#include "tests/launcher/fake_effects.h"
#include "tests/launcher/launcher_test_support.h"

namespace {

using kovrin::launcher::BenchSequence;
using kovrin::launcher::ResultsTable;
using kovrin::test::ScratchFolder;
using kovrin::test::WriteFile;
using kovrin::test::launcher::Exists;
using kovrin::test::launcher::FakeEffects;
using kovrin::test::launcher::ReadBytes;

const std::string kCleanupText = std::string(kovrin::launcher::kCleanupFailureText);

class SequenceTest : public ::testing::Test {
 protected:
  std::filesystem::path Config() const { return folder / "config.cfg"; }
  std::filesystem::path Results() const { return folder / "results.fps"; }
  void PlantBothFiles() {
    WriteFile(Config(), "GL_RESX=1;\r\n");
    WriteFile(Results(), "999\r\n");
  }
  std::string StartedNames() const {
    std::string names;
    for (const auto& run : effects.started) names += std::string(kovrin::launcher::ProgramName(run.test)) + ";";
    return names;
  }

  ScratchFolder folder;
  kovrin::launcher::DiskFolder disk{folder.Path()};
  FakeEffects effects;
  ResultsTable table;
  BenchSequence sequence{disk, effects, table, "."};
};

// ---- Every row of the default benchmark ------------------------------------

enum class Step { Start, Collect, Finish };

struct Row {
  const char* label;
  Step step;
  const char* program;  // started by a start row
  int width, height, bits;
  int32_t ResultsTable::*field;  // stored by a collect row
  const char* next;
};

void PrintTo(const Row& c, std::ostream* os) { *os << c.label; }

const Row kRows[] = {
    {"FullBenchStart", Step::Start, "Quillfire", 640, 480, 16, nullptr, "Quillfire_1_1"},
    {"Quillfire_1_1", Step::Collect, nullptr, 0, 0, 0, &ResultsTable::QuillfireFPS_1_1, "Quillfire_1_2_Start"},
    {"Quillfire_1_2_Start", Step::Start, "Quillfire", 640, 480, 32, nullptr, "Quillfire_1_2"},
    {"Quillfire_1_2", Step::Collect, nullptr, 0, 0, 0, &ResultsTable::QuillfireFPS_1_2, "Quillfire_2_1_Start"},
    {"Quillfire_2_1_Start", Step::Start, "Quillfire", 1024, 768, 16, nullptr, "Quillfire_2_1"},
    {"Quillfire_2_1", Step::Collect, nullptr, 0, 0, 0, &ResultsTable::QuillfireFPS_2_1, "Quillfire_2_2_Start"},
    {"Quillfire_2_2_Start", Step::Start, "Quillfire", 1024, 768, 32, nullptr, "Quillfire_2_2"},
    {"Quillfire_2_2", Step::Collect, nullptr, 0, 0, 0, &ResultsTable::QuillfireFPS_2_2, "Quillfire_3_1_Start"},
    {"Quillfire_3_1_Start", Step::Start, "Quillfire", 1600, 1200, 16, nullptr, "Quillfire_3_1"},
    {"Quillfire_3_1", Step::Collect, nullptr, 0, 0, 0, &ResultsTable::QuillfireFPS_3_1, "Quillfire_3_2_Start"},
    {"Quillfire_3_2_Start", Step::Start, "Quillfire", 1600, 1200, 32, nullptr, "Quillfire_3_2"},
    {"Quillfire_3_2", Step::Collect, nullptr, 0, 0, 0, &ResultsTable::QuillfireFPS_3_2, "Lumavane_1_1_Start"},
    {"Lumavane_1_1_Start", Step::Start, "Lumavane", 640, 480, 16, nullptr, "Lumavane_1_1"},
    {"Lumavane_1_1", Step::Collect, nullptr, 0, 0, 0, &ResultsTable::LumavaneFPS_1_1, "Lumavane_1_2_Start"},
    {"Lumavane_1_2_Start", Step::Start, "Lumavane", 640, 480, 32, nullptr, "Lumavane_1_2"},
    {"Lumavane_1_2", Step::Collect, nullptr, 0, 0, 0, &ResultsTable::LumavaneFPS_1_2, "Lumavane_2_1_Start"},
    {"Lumavane_2_1_Start", Step::Start, "Lumavane", 1024, 768, 16, nullptr, "Lumavane_2_1"},
    {"Lumavane_2_1", Step::Collect, nullptr, 0, 0, 0, &ResultsTable::LumavaneFPS_2_1, "Lumavane_2_2_Start"},
    {"Lumavane_2_2_Start", Step::Start, "Lumavane", 1024, 768, 32, nullptr, "Lumavane_2_2"},
    {"Lumavane_2_2", Step::Collect, nullptr, 0, 0, 0, &ResultsTable::LumavaneFPS_2_2, "Lumavane_3_1_Start"},
    {"Lumavane_3_1_Start", Step::Start, "Lumavane", 1600, 1200, 16, nullptr, "Lumavane_3_1"},
    {"Lumavane_3_1", Step::Collect, nullptr, 0, 0, 0, &ResultsTable::LumavaneFPS_3_1, "Lumavane_3_2_Start"},
    {"Lumavane_3_2_Start", Step::Start, "Lumavane", 1600, 1200, 32, nullptr, "Lumavane_3_2"},
    {"Lumavane_3_2", Step::Collect, nullptr, 0, 0, 0, &ResultsTable::LumavaneFPS_3_2, "FullBenchEnd"},
    {"FullBenchEnd", Step::Finish, nullptr, 0, 0, 0, nullptr, ""},
};

class SequenceRow : public SequenceTest, public ::testing::WithParamInterface<Row> {};

std::string ConfigFor(const Row& row) {
  return "GL_RESX=" + std::to_string(row.width) + ";\r\nGL_RESY=" + std::to_string(row.height) +
         ";\r\nGL_BITDEPTH=" + std::to_string(row.bits) + ";\r\n";
}

TEST_P(SequenceRow, OneTickDoesTheRowsStepAndStoresTheNextLabel) {
  const Row& row = GetParam();
  const bool firstRun = std::string(row.label) == "FullBenchStart";
  effects.label = row.step == Step::Start ? "stale" : "";
  if (row.step == Step::Start && !firstRun) PlantBothFiles();
  if (row.step == Step::Collect) {
    WriteFile(Config(), "kept\r\n");
    WriteFile(Results(), " 4321 \r\n");
  }
  if (row.step == Step::Finish) {
    for (const auto& run : kovrin::launcher::kFullBenchmark) table.*run.field = 100;
    table.QuillfireFPS_1_1 = 99;  // sum 1199
  }
  sequence.SetBenchState(row.label);

  sequence.StatusTick();

  EXPECT_EQ(sequence.BenchState(), row.next) << "after the tick on " << row.label;
  EXPECT_TRUE(effects.messages.empty()) << "no message expected, got: " << effects.messages.front();
  EXPECT_TRUE(effects.endCodes.empty());
  switch (row.step) {
    case Step::Start:
      ASSERT_EQ(effects.started.size(), 1u) << "one program start expected";
      EXPECT_EQ(StartedNames(), std::string(row.program) + ";");
      EXPECT_EQ(ReadBytes(Config()), ConfigFor(row));
      EXPECT_FALSE(Exists(Results())) << "the old result must be gone before the run";
      EXPECT_EQ(effects.label, "");
      break;
    case Step::Collect: {
      EXPECT_TRUE(effects.started.empty());
      EXPECT_EQ(table.*row.field, 4321);
      ResultsTable expected;
      expected.*row.field = 4321;
      for (const auto& run : kovrin::launcher::kFullBenchmark) {
        EXPECT_EQ(table.*run.field, expected.*run.field) << "only the row's own field may change";
      }
      EXPECT_EQ(ReadBytes(Results()), " 4321 \r\n") << "the result file stays until the next start";
      EXPECT_EQ(ReadBytes(Config()), "kept\r\n");
      ASSERT_EQ(effects.collected.size(), 1u);
      EXPECT_EQ(effects.collected[0].second, 4321);
      break;
    }
    case Step::Finish:
      EXPECT_EQ(table.Result, 100);
      EXPECT_EQ(effects.label, "99.9 fps");
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(FullBenchmark, SequenceRow, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& p) { return std::string(p.param.label); });

// ---- Waiting ---------------------------------------------------------------

struct WaitCase {
  const char* name;
  const char* content;  // nullptr: no result file
};

void PrintTo(const WaitCase& c, std::ostream* os) { *os << c.name; }

class WaitingForResult : public SequenceTest, public ::testing::WithParamInterface<WaitCase> {};

TEST_P(WaitingForResult, KeepsTheLabelAndStoresNothing) {
  if (GetParam().content != nullptr) WriteFile(Results(), GetParam().content);
  sequence.SetBenchState("Lumavane_2_2");
  table.LumavaneFPS_2_2 = 77;

  for (int tick = 0; tick < 3; ++tick) sequence.StatusTick();

  EXPECT_EQ(sequence.BenchState(), "Lumavane_2_2");
  EXPECT_EQ(table.LumavaneFPS_2_2, 77) << "nothing may be stored from " << GetParam().name;
  EXPECT_TRUE(effects.started.empty());
  EXPECT_TRUE(effects.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Results, WaitingForResult,
                         ::testing::Values(WaitCase{"missing", nullptr}, WaitCase{"empty", ""},
                                           WaitCase{"blank_line", "  \r\n"}, WaitCase{"not_a_number", "fast\r\n"},
                                           WaitCase{"beyond_32_bits", "3000000000\r\n"},
                                           WaitCase{"line_not_ended", "601"}, WaitCase{"only_cr_written", "601\r"}),
                         [](const ::testing::TestParamInfo<WaitCase>& p) { return std::string(p.param.name); });

TEST_F(SequenceTest, ResultAboveSixteenBitsIsTaken) {
  WriteFile(Results(), "40000\r\n");
  sequence.SetBenchState("Quillfire_1_1");
  sequence.StatusTick();
  EXPECT_EQ(table.QuillfireFPS_1_1, 40000);
  EXPECT_EQ(sequence.BenchState(), "Quillfire_1_2_Start");
}

TEST_F(SequenceTest, ProgramEndingWithinItsStartTickIsCollectedOnlyAtTheNextTick) {
  effects.onStart = [this](const kovrin::launcher::BenchRun&) { WriteFile(Results(), "250\r\n"); };
  sequence.RequestRun(true);

  sequence.StatusTick();
  EXPECT_EQ(sequence.BenchState(), "Quillfire_1_1");
  EXPECT_EQ(table.QuillfireFPS_1_1, 0) << "collected in the tick that started the run";

  sequence.StatusTick();
  EXPECT_EQ(table.QuillfireFPS_1_1, 250);
  EXPECT_EQ(sequence.BenchState(), "Quillfire_1_2_Start");
}

// The lenient first clear cannot delete a protected result file; the waiting
// label then reads it at once, and the next start refuses to go on.
TEST_F(SequenceTest, ResultAlreadyPresentIsReadAtOnceThenTheCleanupRefuses) {
  WriteFile(Results(), "12345\r\n");
  kovrin::test::launcher::MakeReadOnly(Results());
  sequence.RequestRun(true);

  sequence.StatusTick();  // lenient clear (fails silently), config, start
  EXPECT_EQ(sequence.BenchState(), "Quillfire_1_1");
  EXPECT_TRUE(Exists(Results()));

  sequence.StatusTick();  // the planted file is taken as the result
  EXPECT_EQ(table.QuillfireFPS_1_1, 12345);
  EXPECT_EQ(sequence.BenchState(), "Quillfire_1_2_Start");

  sequence.StatusTick();  // strict clean-up: config goes, the result file cannot
  EXPECT_FALSE(Exists(Config()));
  EXPECT_TRUE(Exists(Results()));
  ASSERT_EQ(effects.messages.size(), 1u);
  EXPECT_EQ(effects.messages[0], kCleanupText);
  EXPECT_EQ(effects.endCodes, std::vector<int>{kovrin::launcher::kCleanupFailureExitCode});
  EXPECT_EQ(effects.started.size(), 1u) << "no second run may start";
}

// ---- Labels nobody owns -------------------------------------------------------

class UnknownLabel : public SequenceTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnknownLabel, TickDoesNothing) {
  PlantBothFiles();
  effects.label = "100 fps";
  sequence.SetBenchState(GetParam());

  sequence.StatusTick();

  EXPECT_EQ(sequence.BenchState(), GetParam());
  EXPECT_TRUE(Exists(Config()));
  EXPECT_TRUE(Exists(Results()));
  EXPECT_EQ(effects.label, "100 fps");
  EXPECT_TRUE(effects.started.empty());
  EXPECT_TRUE(effects.messages.empty());
  EXPECT_EQ(table.QuillfireFPS_1_1, 0);
}

INSTANTIATE_TEST_SUITE_P(Labels, UnknownLabel,
                         ::testing::Values("fullbenchstart", "quillfire_1_1", "QUILLFIRE_1_2_START",
                                           "lumavane_1_1_start", "Quillfire_1_1_Start", "Quillfire_4_1", "Lumavane",
                                           "Lumavane_3_2_start", "CustomBenchmark", "Idle", "FullBenchEnd "));

TEST_F(SequenceTest, FinishLabelIsMatchedInAnyCase) {
  for (const auto& run : kovrin::launcher::kFullBenchmark) table.*run.field = 100;
  sequence.SetBenchState("fullbenchend");
  sequence.StatusTick();
  EXPECT_EQ(sequence.BenchState(), "");
  EXPECT_EQ(effects.label, "100 fps");
  EXPECT_EQ(table.Result, 100);
}

TEST_F(SequenceTest, IdleTicksDoNothing) {
  PlantBothFiles();
  sequence.StatusTick();
  sequence.StatusTick();
  EXPECT_TRUE(Exists(Config()));
  EXPECT_TRUE(effects.started.empty());
}

// ---- Failures inside a step -------------------------------------------------

TEST_F(SequenceTest, FirstRunWithUnwritableSettingsReturnsToIdle) {
  kovrin::launcher::DiskFolder missing(folder.Path() / "gone");
  BenchSequence broken(missing, effects, table, ".");
  broken.RequestRun(true);
  broken.StatusTick();
  EXPECT_EQ(broken.BenchState(), "") << "the lenient clear emptied the state before the failure";
  EXPECT_TRUE(effects.started.empty());
  EXPECT_TRUE(effects.messages.empty());
}

class RefusingWrites : public kovrin::launcher::HandoffFolder {
 public:
  explicit RefusingWrites(kovrin::launcher::HandoffFolder& inner) : inner_(inner) {}
  std::optional<std::string> Read(std::string_view name) override { return inner_.Read(name); }
  bool Write(std::string_view, std::string_view) override { return false; }
  bool Remove(std::string_view name) override { return inner_.Remove(name); }

 private:
  kovrin::launcher::HandoffFolder& inner_;
};

TEST_F(SequenceTest, LaterStartWithUnwritableSettingsKeepsItsLabel) {
  RefusingWrites refusing(disk);
  BenchSequence broken(refusing, effects, table, ".");
  PlantBothFiles();
  broken.SetBenchState("Lumavane_1_1_Start");
  broken.StatusTick();
  EXPECT_EQ(broken.BenchState(), "Lumavane_1_1_Start");
  EXPECT_FALSE(Exists(Config()));
  EXPECT_FALSE(Exists(Results()));
  EXPECT_TRUE(effects.started.empty());
}

TEST_F(SequenceTest, ProgramThatCannotStartLeavesTheRunWaiting) {
  effects.startSucceeds = false;
  PlantBothFiles();
  sequence.SetBenchState("Quillfire_2_1_Start");
  sequence.StatusTick();
  EXPECT_EQ(sequence.BenchState(), "Quillfire_2_1");
  sequence.StatusTick();
  EXPECT_EQ(sequence.BenchState(), "Quillfire_2_1");
}

TEST_F(SequenceTest, StrictCleanupWithConfigMissingRefusesAndLeavesTheResult) {
  WriteFile(Results(), "10\r\n");
  sequence.SetBenchState("Quillfire_1_2_Start");
  effects.label = "";
  sequence.StatusTick();
  EXPECT_EQ(effects.messages, std::vector<std::string>{kCleanupText});
  EXPECT_EQ(effects.endCodes, std::vector<int>{kovrin::launcher::kCleanupFailureExitCode});
  EXPECT_TRUE(Exists(Results())) << "the clean-up stops at its first failure";
  EXPECT_FALSE(Exists(Config())) << "no settings may be written after the refusal";
  EXPECT_TRUE(effects.started.empty());
}

TEST_F(SequenceTest, NoStepRunsWhileTheRefusalIsOpenNorAfterIt) {
  WriteFile(Results(), "10\r\n");
  sequence.SetBenchState("Quillfire_1_2_Start");
  int nestedTicks = 0;
  effects.whileMessageOpen = [&] {
    ++nestedTicks;
    sequence.StatusTick();  // the message's own event loop delivering a tick
  };
  sequence.StatusTick();
  sequence.StatusTick();
  EXPECT_EQ(nestedTicks, 1);
  EXPECT_EQ(effects.messages.size(), 1u) << "a nested tick ran the clean-up again";
  EXPECT_EQ(effects.endCodes.size(), 1u);
  EXPECT_TRUE(sequence.Ended());
}

TEST_F(SequenceTest, NestedTickDuringAStepIsDropped) {
  effects.onStart = [this](const kovrin::launcher::BenchRun&) {
    WriteFile(Results(), "250\r\n");
    sequence.StatusTick();
  };
  sequence.RequestRun(true);
  sequence.StatusTick();
  EXPECT_EQ(sequence.BenchState(), "Quillfire_1_1");
  EXPECT_EQ(table.QuillfireFPS_1_1, 0) << "a nested tick collected inside the start step";
}

// ---- Clean-ups ---------------------------------------------------------------

TEST_F(SequenceTest, LenientClearWithNoFilesReportsNothing) {
  sequence.SetBenchState("Quillfire_2_2");
  effects.label = "100 fps";
  table.QuillfireFPS_1_1 = 5;
  table.Result = 7;
  sequence.ClearRunFiles();
  EXPECT_EQ(sequence.BenchState(), "");
  EXPECT_EQ(effects.label, "");
  EXPECT_TRUE(effects.messages.empty());
  EXPECT_TRUE(effects.endCodes.empty());
  EXPECT_EQ(table.QuillfireFPS_1_1, 5) << "the clear leaves the table alone";
  EXPECT_EQ(table.Result, 7);
}

TEST_F(SequenceTest, LenientClearDeletesBothFiles) {
  PlantBothFiles();
  sequence.ClearRunFiles();
  EXPECT_FALSE(Exists(Config()));
  EXPECT_FALSE(Exists(Results()));
}

TEST_F(SequenceTest, PurgeWithConfigAbsentRefuses) {
  WriteFile(Results(), "1\r\n");
  effects.label = "50 fps";
  EXPECT_FALSE(sequence.PurgeRunFiles());
  EXPECT_EQ(effects.messages, std::vector<std::string>{kCleanupText});
  EXPECT_EQ(effects.endCodes, std::vector<int>{kovrin::launcher::kCleanupFailureExitCode});
  EXPECT_TRUE(Exists(Results()));
  EXPECT_EQ(effects.label, "50 fps") << "the label is emptied only after both deletions";
}

TEST_F(SequenceTest, PurgeWithReadOnlyResultDeletesConfigThenRefuses) {
  PlantBothFiles();
  kovrin::test::launcher::MakeReadOnly(Results());
  EXPECT_FALSE(sequence.PurgeRunFiles());
  EXPECT_FALSE(Exists(Config()));
  EXPECT_TRUE(Exists(Results()));
  EXPECT_EQ(effects.messages, std::vector<std::string>{kCleanupText});
  EXPECT_EQ(effects.endCodes, std::vector<int>{kovrin::launcher::kCleanupFailureExitCode});
}

TEST_F(SequenceTest, PurgeWithBothFilesSucceedsQuietly) {
  PlantBothFiles();
  effects.label = "50 fps";
  EXPECT_TRUE(sequence.PurgeRunFiles());
  EXPECT_FALSE(Exists(Config()));
  EXPECT_FALSE(Exists(Results()));
  EXPECT_EQ(effects.label, "");
  EXPECT_TRUE(effects.messages.empty());
}

TEST_F(SequenceTest, UnloadDeletesWhatIsThereAndIgnoresTheRest) {
  WriteFile(Config(), "x");
  sequence.UnloadCleanup();
  EXPECT_FALSE(Exists(Config()));
  EXPECT_TRUE(effects.messages.empty());
  EXPECT_TRUE(effects.endCodes.empty());
}

// ---- The custom runner -----------------------------------------------------

TEST_F(SequenceTest, CustomBenchPurgesEveryTickUntilAFileIsMissing) {
  PlantBothFiles();
  effects.label = "100 fps";
  sequence.RequestRun(false);
  EXPECT_EQ(sequence.BenchState(), "CustomBench");

  sequence.StatusTick();
  EXPECT_FALSE(Exists(Config()));
  EXPECT_FALSE(Exists(Results()));
  EXPECT_EQ(sequence.BenchState(), "CustomBench");
  EXPECT_EQ(effects.label, "");
  EXPECT_TRUE(effects.messages.empty());

  sequence.StatusTick();
  EXPECT_EQ(effects.messages, std::vector<std::string>{kCleanupText});
  EXPECT_TRUE(effects.started.empty());
}

TEST_F(SequenceTest, CustomPrefixWithMoreTextDoesNothing) {
  sequence.SetBenchState("CustomBenchmark");
  sequence.StatusTick();
  EXPECT_TRUE(effects.messages.empty());
}

// ---- Whole runs --------------------------------------------------------------

// Plays test programs that write their result as soon as they start.
TEST_F(SequenceTest, FullBenchmarkFillsTheTableInOrderAndScores) {
  int32_t next = 10;
  std::vector<int32_t> written;
  effects.onStart = [&](const kovrin::launcher::BenchRun&) {
    written.push_back(next);
    WriteFile(Results(), std::to_string(next) + "\r\n");
    next += 10;
  };
  sequence.RequestRun(true);
  int ticks = 0;
  do {
    sequence.StatusTick();
    ++ticks;
  } while (!sequence.BenchState().empty() && ticks < 100);

  EXPECT_EQ(ticks, 25) << "one tick per row of the sequence";
  ASSERT_EQ(effects.started.size(), 12u);
  for (std::size_t i = 0; i < kovrin::launcher::kFullBenchmark.size(); ++i) {
    const kovrin::launcher::BenchRun& run = kovrin::launcher::kFullBenchmark[i];
    EXPECT_EQ(effects.started[i].field, run.field) << "run " << i << " started out of order";
    EXPECT_EQ(table.*run.field, written[i]) << "run " << i;
  }
  // 10 + 20 + ... + 120 = 780, mean 65
  EXPECT_EQ(table.Result, 65);
  EXPECT_EQ(effects.label, "65 fps");
  EXPECT_TRUE(Exists(Config())) << "the last run's files stay until a clear";
  EXPECT_TRUE(Exists(Results()));
}

TEST_F(SequenceTest, BenchmarkPressedDuringARunRestartsAndKeepsEarlierValues) {
  table.QuillfireFPS_1_1 = 300;
  PlantBothFiles();
  sequence.SetBenchState("Quillfire_1_2");
  sequence.RequestRun(true);
  sequence.StatusTick();
  EXPECT_EQ(sequence.BenchState(), "Quillfire_1_1");
  EXPECT_EQ(table.QuillfireFPS_1_1, 300);
  EXPECT_EQ(ReadBytes(Config()), "GL_RESX=640;\r\nGL_RESY=480;\r\nGL_BITDEPTH=16;\r\n");
}

TEST_F(SequenceTest, DecimalCommaResultUnderACommaSeparator) {
  BenchSequence german(disk, effects, table, ",");
  WriteFile(Results(), "245,5\r\n");
  german.SetBenchState("Lumavane_1_2");
  german.StatusTick();
  EXPECT_EQ(table.LumavaneFPS_1_2, 246);
}

}  // namespace
