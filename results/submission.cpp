#include "results/submission.h"

#include <algorithm>
#include <map>

namespace kovrin::results {
namespace {

// A score above this has more digits than a 32-bit result can hold.
constexpr std::size_t kMaxWholeDigits = 9;

struct ShownScore {
  std::int64_t whole = 0;
  std::optional<int> tenth;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "123", "123.4" or "123,4": what the result label shows before " fps".
std::optional<ShownScore> ParseShown(std::string_view text) {
  const std::size_t separator = text.find_first_of(".,");
  const std::string_view whole = text.substr(0, separator);
  if (whole.empty() || whole.size() > kMaxWholeDigits || !std::all_of(whole.begin(), whole.end(), IsDigit)) {
    return std::nullopt;
  }
  if (whole.size() > 1 && whole[0] == '0') return std::nullopt;
  ShownScore shown;
  for (const char c : whole) shown.whole = shown.whole * 10 + (c - '0');
  if (separator != std::string_view::npos) {
    const std::string_view decimals = text.substr(separator + 1);
    if (decimals.size() != 1 || !IsDigit(decimals[0])) return std::nullopt;
    shown.tenth = decimals[0] - '0';
  }
  return shown;
}

}  // namespace

std::vector<std::int32_t> PossibleResults(std::string_view resultText) {
  const std::optional<ShownScore> shown = ParseShown(resultText);
  if (!shown) return {};
  const auto whole = static_cast<std::int32_t>(shown->whole);
  // The mean lies in [shown, shown + 0.1): below .5 it rounds down, from .6
  // up; at .5 it is either exactly a half (to the even neighbour) or more.
  const int tenth = shown->tenth.value_or(0);
  if (tenth < 5) return {whole};
  if (tenth > 5) return {whole + 1};
  return {whole, whole + 1};
}

std::optional<double> ScoreValue(std::string_view resultText) {
  const std::optional<ShownScore> shown = ParseShown(resultText);
  if (!shown) return std::nullopt;
  return static_cast<double>(shown->whole) + shown->tenth.value_or(0) / 10.0;
}

bool ChecksumFits(std::string_view checksum, std::int32_t result) {
  if (result < 0) return false;
  const std::string r = std::to_string(result);
  const std::size_t length = 37 + std::min<std::size_t>(r.size(), 3);
  if (checksum.size() != length || !std::all_of(checksum.begin(), checksum.end(), IsDigit)) return false;
  // Positions 3, 9 and 27 counted from 1; a round without a character of
  // the result adds nothing, so later positions only exist when it had one.
  constexpr std::size_t kPositions[] = {3, 9, 27};
  for (std::size_t i = 0; i < std::min<std::size_t>(r.size(), 3); ++i) {
    if (checksum[kPositions[i] - 1] != r[i]) return false;
  }
  return true;
}

SubmissionCheck CheckSubmission(const FormFields& fields, const std::vector<std::string>& knownVersions) {
  SubmissionCheck check;
  std::map<std::string, std::string, std::less<>> values;
  for (const auto& [name, value] : fields) {
    const bool known =
        std::find(std::begin(kFormFieldNames), std::end(kFormFieldNames), name) != std::end(kFormFieldNames);
    if (!known) {
      check.problems.push_back("the form has a field '" + name + "' that the submission page does not have");
    } else if (!values.emplace(name, value).second) {
      check.problems.push_back("the field '" + name + "' comes more than once");
    }
  }
  for (const std::string_view name : kFormFieldNames) {
    if (!values.contains(name)) check.problems.push_back("the field '" + std::string(name) + "' is missing");
  }
  if (!check.problems.empty()) return check;

  Submission s;
  s.redirect = values["redirect"];
  s.toEmail = values["to_email"];
  s.version = values["kovrin_version"];
  s.resultText = values["kovrin_result"];
  s.checksum = values["checksum"];
  s.name = values["Name"];
  s.system = values["System"];
  if (values["subject"] != kSubject) check.problems.push_back("the subject is not " + std::string(kSubject));
  if (std::find(knownVersions.begin(), knownVersions.end(), s.version) == knownVersions.end()) {
    check.problems.push_back("the launcher version '" + s.version + "' is not one this site takes");
  }
  if (values["B1"] != "Submit") check.problems.push_back("the form was not sent by its Submit button");
  const std::vector<std::int32_t> results = PossibleResults(s.resultText);
  if (results.empty()) {
    check.problems.push_back("the result '" + s.resultText + "' is not a score the launcher shows");
  } else if (std::none_of(results.begin(), results.end(),
                          [&](std::int32_t result) { return ChecksumFits(s.checksum, result); })) {
    check.problems.push_back("the checksum does not match the result " + s.resultText);
  }
  if (CharacterCount(s.name) > kMaxNameCharacters) {
    check.problems.push_back("the name is longer than " + std::to_string(kMaxNameCharacters) + " characters");
  }
  if (CharacterCount(s.system) > kMaxSystemCharacters) {
    check.problems.push_back("the system description is longer than " + std::to_string(kMaxSystemCharacters) +
                             " characters");
  }
  if (!check.problems.empty()) return check;
  s.score = ScoreValue(s.resultText).value_or(0);
  check.submission = std::move(s);
  return check;
}

}  // namespace kovrin::results
