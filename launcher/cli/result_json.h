// The headless run's results as JSON; the shape is described in
// docs/result-json.md.
#pragma once

#include <QByteArray>
#include <QDateTime>

#include <array>
#include <string>

#include "results_table.h"
#include "run_mode.h"

namespace cli {

// One RunMode per run, in the order of launcher::kFullBenchmark.
using RunModes = std::array<RunMode, launcher::kFullBenchmark.size()>;

// The document for a finished benchmark: the table's twelve frame rates and
// Result, the score label as shown, the modes the runs got, and when it
// finished (written as UTC).
QByteArray ResultJson(const launcher::ResultsTable& table, const std::string& scoreLabel, const RunModes& modes,
                      const QDateTime& finished);

}  // namespace cli
