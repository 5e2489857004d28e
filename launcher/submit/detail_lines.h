// The report of the details window: the score and the twelve single results.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "launcher/core/results_table.h"

namespace kovrin::submit {

// The 13 lines of the details list: "Kovrin Results: " and the score caption
// as displayed, then one line per run in table order, such as
// "Overdraw Stress Test (OpenGL) 1024x768x32: 1234 fps". No line at all when
// the default benchmark is not the selected mode.
std::vector<std::string> DetailLines(bool defaultBenchmarkSelected, std::string_view scoreCaption,
                                     const kovrin::launcher::ResultsTable& table);

}  // namespace kovrin::submit
