// Prints the system report of this machine, one line per entry. A platform
// error ends it after the lines written so far, with the error on stderr and
// exit code 1.
#include <cstdio>
#include <exception>

#include "launcher/sysinfo/platform_error.h"
#include "launcher/sysinfo/report_sink.h"
#include "launcher/sysinfo/system_report.h"

namespace {

class StdoutSink : public kovrin::sysinfo::ReportSink {
 public:
  void AddItem(const std::string& line) override { std::printf("%s\n", line.c_str()); }
};

}  // namespace

int main() {
  StdoutSink out;
  const auto provider = kovrin::sysinfo::MakeLinuxProvider();
  try {
    kovrin::sysinfo::SystemReport(*provider, out).GetDisplayCards();
  } catch (const kovrin::sysinfo::PlatformError& error) {
    std::fflush(stdout);
    std::fprintf(stderr, "error %d: %s\n", error.number(), error.what());
    return 1;
  }
  return 0;
}
