// The form decoder and the submission checks, case by case.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "launcher/submit/checksum.h"
#include "results/form_decoder.h"
#include "results/submission.h"

namespace {

using kovrin::results::CheckSubmission;
using kovrin::results::ChecksumFits;
using kovrin::results::DecodeForm;
using kovrin::results::FormFields;
using kovrin::results::PossibleResults;

TEST(FormDecoder, DecodesLatin1FieldsInOrder) {
  struct Case {
    const char* body;
    FormFields expected;
  };
  const Case cases[] = {
      {"a=1&b=2", {{"a", "1"}, {"b", "2"}}},
      {"Name=J%FCrgen+M%E4ller", {{"Name", "J\xc3\xbcrgen M\xc3\xa4ller"}}},  // Latin-1 bytes, UTF-8 out
      {"x=%3Cscript%3E%26", {{"x", "<script>&"}}},
      {"empty=&=v", {{"empty", ""}, {"", "v"}}},
      {"&&a=b&", {{"a", "b"}}},
      {"a=%c3%a9", {{"a", "\xc3\x83\xc2\xa9"}}},  // two Latin-1 characters, not one UTF-8 one
      {"s=1%0D%0A2", {{"s", "1\r\n2"}}},
      {"", {}},
  };
  for (const Case& c : cases) {
    std::string error;
    const std::optional<FormFields> fields = DecodeForm(c.body, error);
    ASSERT_TRUE(fields) << c.body << ": " << error;
    EXPECT_EQ(*fields, c.expected) << c.body;
  }
}

TEST(FormDecoder, RefusesWhatNoBrowserSends) {
  for (const char* body : {"a=%", "a=%4", "a=%G1", "a=%%", "novalue", "a=1&b"}) {
    std::string error;
    EXPECT_FALSE(DecodeForm(body, error)) << body;
    EXPECT_FALSE(error.empty()) << body;
  }
}

TEST(SubmissionChecks, TheShownScoreGivesTheWholeScoresItCanComeFrom) {
  struct Case {
    const char* shown;
    std::vector<std::int32_t> results;
  };
  const Case cases[] = {
      {"38", {38}},   {"38,4", {38}}, {"38.4", {38}}, {"38.5", {38, 39}}, {"37,5", {37, 38}},
      {"38.6", {39}}, {"0", {0}},     {"0.9", {1}},   {"99.9", {100}},    {"1234", {1234}},
      {"fast", {}},   {"", {}},       {"38.45", {}},  {"38.", {}},        {".5", {}},
      {"-3", {}},     {"038", {}},    {"38 ", {}},    {"1e3", {}},        {"9999999999", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(PossibleResults(c.shown), c.results) << "'" << c.shown << "'";
}

TEST(SubmissionChecks, TheLaunchersOwnChecksumsFitTheirScoreAndNoOther) {
  kovrin::submit::ChecksumGenerator generator;
  for (const std::int32_t result : {0, 7, 42, 123, 1234, 32767}) {
    const std::string checksum = kovrin::submit::randnums(generator, result);
    EXPECT_TRUE(ChecksumFits(checksum, result)) << result << " " << checksum;
    for (const std::int32_t other : {result + 1, result + 10, result + 100, result * 10 + 1}) {
      // Another score fits only when its first three characters and length agree.
      const std::string a = std::to_string(result), b = std::to_string(other);
      const bool same =
          a.substr(0, 3) == b.substr(0, 3) && std::min<std::size_t>(a.size(), 3) == std::min<std::size_t>(b.size(), 3);
      EXPECT_EQ(ChecksumFits(checksum, other), same) << result << " vs " << other;
    }
  }
}

TEST(SubmissionChecks, ChecksumShapes) {
  struct Case {
    std::string checksum;
    std::int32_t result;
    bool fits;
  };
  std::string c7(38, '0');
  c7[2] = '7';
  std::string c42(39, '0');
  c42[2] = '4';
  c42[8] = '2';
  std::string c1234(40, '5');
  c1234[2] = '1';
  c1234[8] = '2';
  c1234[26] = '3';
  const Case cases[] = {
      {c7, 7, true},
      {c7 + "0", 7, false},
      {c7.substr(1), 7, false},
      {c42, 42, true},
      {c42, 41, false},
      {c42, 4, false},
      {c1234, 1234, true},
      {c1234, 1239, true},
      {c1234, 124, false},
      {c1234, 123, true},
      {std::string(40, 'a'), 0, false},
      {c7.substr(0, 37) + "x", 7, false},
      {"", 0, false},
  };
  for (const Case& c : cases) EXPECT_EQ(ChecksumFits(c.checksum, c.result), c.fits) << c.checksum << " " << c.result;
}

FormFields PageFields() {
  kovrin::submit::ChecksumGenerator generator;
  return {{"redirect", "http://h/kovrin/redirect.htm"},
          {"to_email", "r@h"},
          {"subject", "Kovrin_Submit"},
          {"kovrin_version", "1_0_54"},
          {"kovrin_result", "123,4"},
          {"checksum", kovrin::submit::randnums(generator, 123)},
          {"Name", "Ada"},
          {"System", "Mesa"},
          {"B1", "Submit"}};
}

TEST(SubmissionChecks, TakesThePagesFieldsAndNothingElse) {
  const auto check = CheckSubmission(PageFields(), {"1_0_54"});
  ASSERT_TRUE(check.submission) << (check.problems.empty() ? "" : check.problems.front());
  EXPECT_EQ(check.submission->name, "Ada");
  EXPECT_DOUBLE_EQ(check.submission->score, 123.4);
  EXPECT_EQ(check.submission->toEmail, "r@h");

  struct Case {
    const char* what;
    std::function<void(FormFields&)> change;
    const char* problem;
  };
  const auto set = [](const char* name, std::string value) {
    return [name, value](FormFields& fields) {
      for (auto& field : fields) {
        if (field.first == name) field.second = value;
      }
    };
  };
  const Case cases[] = {
      {"subject", set("subject", "Other"), "the subject is not Kovrin_Submit"},
      {"version", set("kovrin_version", "1_0_53"), "the launcher version '1_0_53' is not one this site takes"},
      {"button", set("B1", "Go"), "the form was not sent by its Submit button"},
      {"score", set("kovrin_result", "12,4"), "the checksum does not match the result 12,4"},
      {"name", set("Name", std::string(65, 'x')), "the name is longer than 64 characters"},
      {"system", set("System", std::string(2001, 'x')), "the system description is longer than 2000 characters"},
      {"extra", [](FormFields& f) { f.emplace_back("B2", "Reset"); },
       "the form has a field 'B2' that the submission page does not have"},
      {"twice", [](FormFields& f) { f.emplace_back("Name", "Bob"); }, "the field 'Name' comes more than once"},
      {"missing", [](FormFields& f) { f.pop_back(); }, "the field 'B1' is missing"},
  };
  for (const Case& c : cases) {
    FormFields fields = PageFields();
    c.change(fields);
    const auto refused = CheckSubmission(fields, {"1_0_54"});
    EXPECT_FALSE(refused.submission) << c.what;
    EXPECT_NE(std::find(refused.problems.begin(), refused.problems.end(), c.problem), refused.problems.end())
        << c.what << ": " << (refused.problems.empty() ? "(no problem)" : refused.problems.front());
  }
  // Characters, not bytes: 64 two-byte letters are a name of 64.
  FormFields umlauts = PageFields();
  std::string name;
  for (int i = 0; i < 64; ++i) name += "\xc3\xbc";
  umlauts[6].second = name;
  EXPECT_TRUE(CheckSubmission(umlauts, {"1_0_54"}).submission);
}

}  // namespace
