// The machine a result was measured on, as a result file records it: the
// system report's adapters as data rather than lines, and the three facts a
// reader compares first (kernel, driver version, processor).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "launcher/sysinfo/sysinfo_provider.h"
#include "launcher/sysinfo/sysinfo_records.h"

namespace kovrin::cli {

struct AdapterFacts {
  kovrin::sysinfo::AdapterIdentity identity;
  kovrin::sysinfo::AdapterCaps caps;
  std::vector<kovrin::sysinfo::DeviceDesc> devices;
  std::vector<kovrin::sysinfo::DisplayMode> modes;
};

struct SystemFacts {
  std::vector<AdapterFacts> adapters;
  // Why the report stopped early (a platform call that failed); the adapters
  // gathered before stay.
  std::string error;
  std::string kernel;  // the kernel release, "6.1.0-18-amd64"
  std::string driver;  // the OpenGL version string, which names Mesa's or the vendor's version
  std::string cpu;     // the processor's model name
};

// Everything the System Info window shows, in its order, then the driver of
// the OpenGL device that drew `renderer` (the first OpenGL device when none
// matches), the kernel release and the processor.
SystemFacts GatherSystemFacts(kovrin::sysinfo::Provider& provider, std::string_view renderer);

// "4.5 (Compatibility Profile) Mesa 22.3.6" from the OpenGL devices' names
// ("OpenGL 4.5 (...) Mesa 22.3.6"); empty without an OpenGL device.
std::string DriverVersion(const std::vector<AdapterFacts>& adapters, std::string_view renderer);

// The first "model name" of /proc/cpuinfo's text (x86), else its "Hardware"
// or "Model" line (ARM boards); empty when none is there.
std::string CpuModel(std::string_view cpuinfo);

}  // namespace kovrin::cli
