// The headless run's results as JSON; the shape is described in
// docs/result-json.md.
#pragma once

#include <QByteArray>
#include <QDateTime>

#include "launcher/cli/bench_result.h"

namespace kovrin::cli {

// The shape written here; raised whenever a key changes meaning or goes.
inline constexpr int kResultFormat = 3;

// The document for a finished benchmark, with when it finished (as UTC).
QByteArray ResultJson(const BenchResult& result, const QDateTime& finished);

}  // namespace kovrin::cli
