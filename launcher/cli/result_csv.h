// The runs of a command-line benchmark as CSV, for a spreadsheet: one row per
// single run, repeats included, with the fields of the JSON file's runs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "launcher/cli/bench_result.h"

namespace kovrin::cli {

// The header row's names, in column order.
std::vector<std::string> CsvColumns();

// The header row and one row per run, each ended by CR LF. A value the run did
// not report is an empty field; the flags are one field, separated by blanks.
std::string ResultCsv(const BenchResult& result);

// A field as CSV writes it: in double quotes, with its quotes doubled, when it
// holds a comma, a quote, a line break or a leading or trailing blank.
std::string CsvField(std::string_view text);

}  // namespace kovrin::cli
