// Writes the system report: for every display adapter its identity, its 2-D
// capabilities, its 3-D devices and its display modes, one line per entry.
//
// The four operations keep the names and the order of the launcher's report:
// GetDisplayCards writes each adapter's identity and calls the other three with
// the adapter's GUID text. Nothing is caught here: a PlatformError from the
// provider leaves the lines written so far in the sink.
#pragma once

#include <string>
#include <vector>

#include "launcher/sysinfo/report_sink.h"
#include "launcher/sysinfo/sysinfo_provider.h"

namespace kovrin::sysinfo {

class SystemReport {
 public:
  SystemReport(Provider& provider, ReportSink& out) : provider_(provider), out_(out) {}

  void GetDisplayCards();
  void GetDDCaps(const std::string& sGuid);
  void GetD3DDevices(const std::string& sGuid);
  void GetDisplayModes(const std::string& sGuid);

 private:
  void WriteDevice(const DeviceDesc& device);

  Provider& provider_;
  ReportSink& out_;
};

// The whole report as lines.
std::vector<std::string> BuildReport(Provider& provider);

}  // namespace kovrin::sysinfo
