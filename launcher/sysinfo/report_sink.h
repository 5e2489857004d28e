// The list the report is written into, one entry per line, in insertion order.
#pragma once

#include <string>
#include <vector>

namespace kovrin::sysinfo {

class ReportSink {
 public:
  virtual ~ReportSink() = default;
  virtual void AddItem(const std::string& line) = 0;
};

// Keeps the lines in memory: for the command line and for tests.
class LineCollector : public ReportSink {
 public:
  void AddItem(const std::string& line) override { lines.push_back(line); }
  std::vector<std::string> lines;
};

}  // namespace kovrin::sysinfo
