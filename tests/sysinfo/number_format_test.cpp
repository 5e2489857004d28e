// The report's number format, on its own and under a German numeric locale.
#include <gtest/gtest.h>

#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "launcher/sysinfo/number_format.h"
#include "tests/support/scratch_folder.h"

namespace kovrin::sysinfo {
namespace {

struct NumberCase {
  double value;
  const char* text;
};

class NumberFormat : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberFormat, WritesTheExpectedText) {
  EXPECT_EQ(FormatNumber(GetParam().value), GetParam().text) << "value " << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, NumberFormat,
                         ::testing::Values(NumberCase{0, " 0"}, NumberCase{-0.0, " 0"}, NumberCase{1, " 1"},
                                           NumberCase{640, " 640"}, NumberCase{32, " 32"}, NumberCase{31.5, " 31.5"},
                                           NumberCase{-3, "-3"}, NumberCase{-2.25, "-2.25"}, NumberCase{0.75, " 0.75"},
                                           NumberCase{16384, " 16384"}, NumberCase{4294967295.0, " 4294967295"},
                                           NumberCase{23722.00390625, " 23722.00390625"},
                                           // fifteen significant digits, rounded, no trailing zeros
                                           NumberCase{1.0 / 3.0, " 0.333333333333333"}, NumberCase{0.1 + 0.2, " 0.3"},
                                           NumberCase{123456789.123456789, " 123456789.123457"},
                                           NumberCase{999999999999999.0, " 999999999999999"}));

// Switches LC_NUMERIC to a German locale for the test's span. Where the system
// has none installed, one is compiled into a scratch folder with localedef.
class GermanNumericLocale {
 public:
  GermanNumericLocale() {
    if (Try()) {
      return;
    }
    folder_.emplace();
    const std::string folder = folder_->String();
    const std::string command = "localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0) {
      setenv("LOCPATH", folder.c_str(), 1);
      Try();
    }
  }
  ~GermanNumericLocale() {
    std::setlocale(LC_NUMERIC, "C");
    if (folder_) {
      unsetenv("LOCPATH");
      folder_.reset();
    }
  }
  bool active() const { return active_; }

 private:
  bool Try() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
      if (std::setlocale(LC_NUMERIC, name) != nullptr && std::string(std::localeconv()->decimal_point) == ",") {
        active_ = true;
        return true;
      }
    }
    return false;
  }
  bool active_ = false;
  std::optional<kovrin::test::ScratchFolder> folder_;
};

TEST(NumberFormatLocale, KeepsThePointUnderAGermanLocale) {
  const GermanNumericLocale german;
  if (!german.active()) {
    GTEST_SKIP() << "no German locale available and localedef could not make one";
  }
  char printed[32];
  std::snprintf(printed, sizeof printed, "%.1f", 31.5);
  ASSERT_STREQ(printed, "31,5") << "the locale is active: printf uses the decimal comma";
  EXPECT_EQ(FormatNumber(31.5), " 31.5");
  EXPECT_EQ(FormatNumber(-1234.5), "-1234.5") << "no thousands separator either";
}

}  // namespace
}  // namespace kovrin::sysinfo
