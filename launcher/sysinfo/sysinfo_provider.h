// Where the system report gets its records from.
//
// Adapters() enumerates afresh; the other calls describe one adapter named by
// the GUID text that Adapters() gave, in the order the report asks for them.
// 3-D devices are counted first and described one at a time, so that a device
// whose query fails leaves the lines of the devices before it in the report.
// An unknown GUID, or a platform call that fails outright, throws PlatformError.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "launcher/sysinfo/sysinfo_records.h"

namespace kovrin::sysinfo {

class Provider {
 public:
  virtual ~Provider() = default;
  virtual std::vector<AdapterIdentity> Adapters() = 0;
  virtual AdapterCaps Caps(const std::string& guid) = 0;
  virtual std::size_t DeviceCount(const std::string& guid) = 0;
  virtual DeviceDesc Device(const std::string& guid, std::size_t index) = 0;  // index < DeviceCount
  virtual std::vector<DisplayMode> Modes(const std::string& guid) = 0;
};

// The machine's own graphics interfaces: libdrm, Vulkan, EGL's device platform,
// XRandR on the X display named by DISPLAY, and the kernel's mode lists.
std::unique_ptr<Provider> MakeLinuxProvider();

}  // namespace kovrin::sysinfo
