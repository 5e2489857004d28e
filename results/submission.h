// What a post of the submission page must hold to be stored.
//
// The page's checksum is 37 random digits with the first characters of the
// launcher's whole score woven in; the score itself travels as the text the
// launcher showed (cut to one decimal, with the user's decimal comma or
// point). Only what the two share can be checked: the checksum's length and
// its three woven-in characters against every whole score that the shown text
// can stand for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "results/form_decoder.h"

namespace kovrin::results {

inline constexpr std::string_view kSubject = "Kovrin_Submit";
inline constexpr std::size_t kMaxNameCharacters = 64;
inline constexpr std::size_t kMaxSystemCharacters = 2000;
inline constexpr std::size_t kMaxFormBytes = 16 * 1024;

// The fields of the page's form, in page order: exactly these are taken.
inline constexpr std::string_view kFormFieldNames[] = {
    "redirect", "to_email", "subject", "kovrin_version", "kovrin_result", "checksum", "Name", "System", "B1"};

struct Submission {
  std::string redirect;
  std::string toEmail;     // kept, never written to
  std::string version;     // as posted: "1_0_54"
  std::string resultText;  // as posted: "123,4"
  std::string checksum;
  std::string name;
  std::string system;
  double score = 0;  // resultText as a number, for the ranking
};

// The whole scores (the launcher's `Result`: the mean rounded to the nearest
// integer, ties to even) that a shown score text can come from. The text is
// cut to one decimal, so "38.5" may be a mean of exactly 38.5 (38) or of a bit
// more (39). Nothing for a text that is no score the launcher shows.
std::vector<std::int32_t> PossibleResults(std::string_view resultText);

// The shown text as a number; nullopt when it is none the launcher shows.
std::optional<double> ScoreValue(std::string_view resultText);

// Whether `checksum` is one that the launcher draws for `result`: 38, 39 or
// 40 digits by the length of the result's text, its 1st, 2nd and 3rd
// character at positions 3, 9 and 27.
bool ChecksumFits(std::string_view checksum, std::int32_t result);

struct SubmissionCheck {
  std::optional<Submission> submission;  // set when nothing was wrong
  std::vector<std::string> problems;     // one line each, for the refusal page
};

// Checks decoded form fields against the page's: every field once and no
// other, the page's subject, a version in `knownVersions`, a score text whose
// checksum fits, a Name and System within their sizes.
SubmissionCheck CheckSubmission(const FormFields& fields, const std::vector<std::string>& knownVersions);

}  // namespace kovrin::results
