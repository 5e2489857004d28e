// The checksum string: its length, the result's characters at 3, 9 and 27,
// the fixed start state and the continuation across openings.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>

#include "launcher/submit/checksum.h"

namespace {

struct LengthCase {
  std::int32_t result;
  std::size_t length;
  char at3;
  char at9;   // '\0': nothing of the result at 9
  char at27;  // '\0': nothing of the result at 27
};

class ChecksumLayout : public testing::TestWithParam<LengthCase> {};

// Where the result's characters go. Positions count from 1. After position 9
// the string is one character shorter when the result had no 2nd character,
// so later positions shift.
TEST_P(ChecksumLayout, CarriesTheResultsCharactersAtTheirPositions) {
  const LengthCase c = GetParam();
  kovrin::submit::ChecksumGenerator generator;
  const std::string s = kovrin::submit::randnums(generator, c.result);
  ASSERT_EQ(s.size(), c.length) << "checksum for result " << c.result << ": " << s;
  EXPECT_EQ(s[2], c.at3) << "position 3 of " << s;
  if (c.at9 != '\0') {
    EXPECT_EQ(s[8], c.at9) << "position 9 of " << s;
  }
  if (c.at27 != '\0') {
    EXPECT_EQ(s[26], c.at27) << "position 27 of " << s;
  }
}

INSTANTIATE_TEST_SUITE_P(Results, ChecksumLayout,
                         testing::Values(LengthCase{7, 38, '7', '\0', '\0'}, LengthCase{0, 38, '0', '\0', '\0'},
                                         LengthCase{42, 39, '4', '2', '\0'}, LengthCase{-5, 39, '-', '5', '\0'},
                                         LengthCase{1234, 40, '1', '2', '3'}, LengthCase{100, 40, '1', '0', '0'},
                                         LengthCase{2147483647, 40, '2', '1', '4'},
                                         LengthCase{-1234, 40, '-', '1', '2'}));

// Every round draws a digit, also those that use the result instead, so the
// random digits sit in the same rounds whatever the result is.
TEST(Checksum, RandomDigitsAreTheDrawsOfTheirRounds) {
  kovrin::submit::ChecksumGenerator draws;
  std::string digits;
  for (int i = 0; i < 40; ++i) digits += static_cast<char>('0' + draws.NextDigit());

  kovrin::submit::ChecksumGenerator generator;
  const std::string s = kovrin::submit::randnums(generator, 1234);
  std::string expected = digits;
  expected[2] = '1';
  expected[8] = '2';
  expected[26] = '3';
  EXPECT_EQ(s, expected);
}

// The start state is fixed: the standard Mersenne Twister with its default
// seed, whose first outputs 3499211612, 581869302 and 3890346734 give the
// digits 8, 1 and 9. This is the checksum of the first opening after every
// launcher start for a result of 1234.
TEST(Checksum, FirstChecksumAfterStartIsAlwaysTheSame) {
  kovrin::submit::ChecksumGenerator generator;
  EXPECT_EQ(kovrin::submit::randnums(generator, 1234), "8118199223052159999917999137821041967895");
  kovrin::submit::ChecksumGenerator again;
  EXPECT_EQ(kovrin::submit::randnums(again, 7), "81781992305215999991799917821041967895");
}

TEST(Checksum, SecondChecksumContinuesTheSequence) {
  kovrin::submit::ChecksumGenerator generator;
  const std::string first = kovrin::submit::randnums(generator, 1234);
  const std::string second = kovrin::submit::randnums(generator, 1234);
  EXPECT_NE(first, second) << "the second opening must use the next 40 draws";
  EXPECT_EQ(second, "6713829623777434611377032831098861379406");

  kovrin::submit::ChecksumGenerator skipped;
  for (int i = 0; i < 40; ++i) skipped.NextDigit();
  EXPECT_EQ(kovrin::submit::randnums(skipped, 1234), second);
}

TEST(Checksum, EveryCharacterIsADigitOrTheResultsSign) {
  kovrin::submit::ChecksumGenerator generator;
  for (std::int32_t result : {7, 42, 1234, -9}) {
    const std::string s = kovrin::submit::randnums(generator, result);
    for (char c : s) {
      EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c)) || c == '-') << "'" << c << "' in " << s;
    }
  }
}

TEST(ChecksumGenerator, DrawsStayInTheUnitInterval) {
  kovrin::submit::ChecksumGenerator generator;
  int seen[10] = {};
  for (int i = 0; i < 20000; ++i) {
    const double u = generator.NextUniform();
    ASSERT_GE(u, 0.0) << "draw " << i;
    ASSERT_LT(u, 1.0) << "draw " << i;
    ++seen[static_cast<int>(u * 10.0)];
  }
  // Uniform: every digit turns up; 20000 draws put roughly 2000 into each.
  for (int d = 0; d < 10; ++d) EXPECT_GT(seen[d], 1500) << "digit " << d;
}

TEST(ChecksumGenerator, LauncherGeneratorIsOnePerProcess) {
  EXPECT_EQ(&kovrin::submit::LauncherChecksumGenerator(), &kovrin::submit::LauncherChecksumGenerator());
}

}  // namespace
