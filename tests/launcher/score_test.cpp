// The overall score and its display text.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>

#include "launcher/core/score.h"

namespace {

kovrin::launcher::ResultsTable TableOf(const std::array<int32_t, 12>& values) {
  kovrin::launcher::ResultsTable table;
  for (std::size_t i = 0; i < values.size(); ++i) table.*kovrin::launcher::kFullBenchmark[i].field = values[i];
  return table;
}

std::array<int32_t, 12> Twelve(int32_t value) {
  std::array<int32_t, 12> values{};
  values.fill(value);
  return values;
}

// Twelve values with the given sum: eleven equal ones and the rest.
std::array<int32_t, 12> Summing(int32_t sum) {
  std::array<int32_t, 12> values = Twelve(sum / 12);
  values[11] += sum % 12;
  return values;
}

struct ScoreCase {
  const char* name;
  std::array<int32_t, 12> values;
  const char* separator;
  int32_t result;
  const char* label;
};

void PrintTo(const ScoreCase& c, std::ostream* os) { *os << c.name; }

class CalcFPS : public ::testing::TestWithParam<ScoreCase> {};

TEST_P(CalcFPS, ResultIsRoundedAndLabelIsCut) {
  const ScoreCase& c = GetParam();
  const kovrin::launcher::Score score = kovrin::launcher::ComputeScore(TableOf(c.values), c.separator);
  EXPECT_EQ(score.result, c.result);
  EXPECT_EQ(score.label, c.label);
}

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Scores, CalcFPS,
    ::testing::Values(
        ScoreCase{"sum_1199", Summing(1199), ".", 100, "99.9 fps"},
        ScoreCase{"sum_1199_comma", Summing(1199), ",", 100, "99,9 fps"},
        ScoreCase{"sum_1235", Summing(1235), ".", 103, "102.9 fps"},
        ScoreCase{"sum_1235_comma", Summing(1235), ",", 103, "102,9 fps"},
        ScoreCase{"twelve_100", Twelve(100), ".", 100, "100 fps"},
        ScoreCase{"twelve_100_comma", Twelve(100), ",", 100, "100 fps"},
        ScoreCase{"twelve_3000", Twelve(3000), ".", 3000, "3000 fps"},
        ScoreCase{"twelve_3000_comma", Twelve(3000), ",", 3000, "3000 fps"},
        ScoreCase{"trailing_zero_decimal_dropped", Summing(1477), ".", 123, "123 fps"},
        ScoreCase{"tie_rounds_to_even_up", Summing(2994), ".", 250, "249.5 fps"},
        ScoreCase{"tie_rounds_to_even_down", Summing(3006), ".", 250, "250.5 fps"},
        ScoreCase{"all_zero", Twelve(0), ".", 0, "0 fps"},
        ScoreCase{"negative_fraction_of_zero", Summing(-1), ".", 0, "0 fps"},
        ScoreCase{"ten_million_keeps_all_digits", Summing(12 * 12345678 + 11), ".", 12345679, "12345678.9 fps"},
        ScoreCase{"largest_values", Twelve(kMax), ".", kMax, "2147483647 fps"},
        ScoreCase{"mixed", {601, 455, 300, 250, 120, 99, 800, 700, 410, 390, 160, 150}, ".", 370, "369.5 fps"}),
    [](const ::testing::TestParamInfo<ScoreCase>& p) { return std::string(p.param.name); });

TEST(FormatNumber, FifteenSignificantDigitsAndTheSeparator) {
  EXPECT_EQ(kovrin::launcher::FormatNumber(1199.0 / 12.0, "."), "99.9166666666667");
  EXPECT_EQ(kovrin::launcher::FormatNumber(1199.0 / 12.0, ","), "99,9166666666667");
  EXPECT_EQ(kovrin::launcher::FormatNumber(3000.0, ","), "3000");
  EXPECT_EQ(kovrin::launcher::FormatNumber(2147483647.0, "."), "2147483647");
  EXPECT_EQ(kovrin::launcher::FormatNumber(-0.0, "."), "0");
}

TEST(ScoreDisplayNumber, CutsAfterOneDecimal) {
  EXPECT_EQ(kovrin::launcher::ScoreDisplayNumber(123.4567, "."), "123.4");
  EXPECT_EQ(kovrin::launcher::ScoreDisplayNumber(123.0833, "."), "123");
  EXPECT_EQ(kovrin::launcher::ScoreDisplayNumber(0.99, ","), "0,9");
  EXPECT_EQ(kovrin::launcher::ScoreDisplayNumber(7.0, ","), "7");
}

}  // namespace
