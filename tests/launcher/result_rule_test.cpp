// What the launcher accepts from results.fps.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "launcher/core/result_rule.h"

namespace {

struct RuleCase {
  const char* name;
  std::string content;
  const char* separator;
  std::optional<int32_t> expected;
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }

class ResultRule : public ::testing::TestWithParam<RuleCase> {};

TEST_P(ResultRule, Reads) {
  const RuleCase& c = GetParam();
  const std::optional<int32_t> got = kovrin::launcher::ResultFromFile(c.content, c.separator);
  if (c.expected) {
    ASSERT_TRUE(got.has_value()) << "expected " << *c.expected << ", got no result";
    EXPECT_EQ(*got, *c.expected);
  } else {
    EXPECT_FALSE(got.has_value()) << "expected no result, got " << *got;
  }
}

const std::optional<int32_t> kNone;

INSTANTIATE_TEST_SUITE_P(
    Content, ResultRule,
    ::testing::Values(
        RuleCase{"test_program_line", "601\r\n", ".", 601}, RuleCase{"zero", "0\r\n", ".", 0},
        RuleCase{"blanks_around", "  245  \r\n", ".", 245}, RuleCase{"tabs_around", "\t245\t\r\n", ".", 245},
        RuleCase{"leading_zeros", "00042\r\n", ".", 42}, RuleCase{"plus_sign", "+7\r\n", ".", 7},
        RuleCase{"negative", "-12\r\n", ".", kNone}, RuleCase{"very_negative", "-2000000000\r\n", ".", kNone},
        RuleCase{"minus_zero", "-0\r\n", ".", 0}, RuleCase{"negative_fraction", "-0.4\r\n", ".", kNone},
        RuleCase{"second_line_ignored", "601\r\n999\r\n", ".", 601}, RuleCase{"above_16_bits", "40000\r\n", ".", 40000},
        RuleCase{"largest", "2147483647\r\n", ".", 2147483647}, RuleCase{"smallest", "-2147483648\r\n", ".", kNone},
        RuleCase{"too_large", "2147483648\r\n", ".", kNone}, RuleCase{"too_small", "-2147483649\r\n", ".", kNone},
        RuleCase{"huge", "99999999999999999999999\r\n", ".", kNone}, RuleCase{"empty_file", "", ".", kNone},
        RuleCase{"empty_line", "\r\n", ".", kNone}, RuleCase{"blank_line", "   \r\n", ".", kNone},
        RuleCase{"not_a_number", "abc\r\n", ".", kNone}, RuleCase{"trailing_text", "601 fps\r\n", ".", kNone},
        RuleCase{"two_numbers", "7 8\r\n", ".", kNone}, RuleCase{"exponent", "1e3\r\n", ".", kNone},
        RuleCase{"sign_only", "-\r\n", ".", kNone}, RuleCase{"no_line_end_yet", "601", ".", kNone},
        RuleCase{"cr_without_lf_yet", "601\r", ".", kNone}, RuleCase{"lone_cr_inside", "60\r1\r\n", ".", kNone},
        RuleCase{"fraction_rounds_down", "245.4\r\n", ".", 245}, RuleCase{"fraction_rounds_up", "245.6\r\n", ".", 246},
        RuleCase{"tie_to_even_up", "245.5\r\n", ".", 246}, RuleCase{"tie_to_even_down", "246.5\r\n", ".", 246},
        RuleCase{"above_tie", "246.5000001\r\n", ".", 247}, RuleCase{"half", "0.5\r\n", ".", 0},
        RuleCase{"negative_tie", "-2.5\r\n", ".", kNone}, RuleCase{"negative_above_tie", "-2.51\r\n", ".", kNone},
        RuleCase{"fraction_only", ".7\r\n", ".", 1}, RuleCase{"separator_last", "5.\r\n", ".", 5},
        RuleCase{"separator_alone", ".\r\n", ".", kNone},
        RuleCase{"rounds_past_the_range", "2147483647.5\r\n", ".", kNone},
        RuleCase{"comma_under_comma", "245,5\r\n", ",", 246}, RuleCase{"comma_with_blanks", " 245,4 \r\n", ",", 245},
        RuleCase{"comma_tie_even", "246,5\r\n", ",", 246}, RuleCase{"comma_under_point", "245,5\r\n", ".", kNone},
        RuleCase{"point_under_comma", "245.5\r\n", ",", kNone}),
    [](const ::testing::TestParamInfo<RuleCase>& p) { return std::string(p.param.name); });

}  // namespace
