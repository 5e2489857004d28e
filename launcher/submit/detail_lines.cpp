#include "launcher/submit/detail_lines.h"

namespace kovrin::submit {
namespace {

std::string_view TestTitle(kovrin::launcher::TestProgram test) {
  return test == kovrin::launcher::TestProgram::Quillfire ? "Overdraw Stress Test (OpenGL)"
                                                          : "Alpha Blending Performance (OpenGL)";
}

// "640x480x16" for resolution index 1 and depth index 1.
std::string ModeText(const kovrin::launcher::BenchRun& run) {
  return std::to_string(kovrin::launcher::ResolutionWidth(run.resIndex)) + "x" +
         std::to_string(kovrin::launcher::ResolutionHeight(run.resIndex)) + "x" +
         std::to_string(kovrin::launcher::DepthBits(run.depthIndex));
}

}  // namespace

std::vector<std::string> DetailLines(bool defaultBenchmarkSelected, std::string_view scoreCaption,
                                     const kovrin::launcher::ResultsTable& table) {
  std::vector<std::string> lines;
  if (!defaultBenchmarkSelected) return lines;
  lines.push_back("Kovrin Results: " + std::string(scoreCaption));
  for (const kovrin::launcher::BenchRun& run : kovrin::launcher::kFullBenchmark) {
    lines.push_back(std::string(TestTitle(run.test)) + " " + ModeText(run) + ": " + std::to_string(table.*run.field) +
                    " fps");
  }
  return lines;
}

}  // namespace kovrin::submit
