// The kernel's graphics devices as libdrm lists them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kovrin::sysinfo {

struct PciAddress {
  std::uint32_t domain = 0;
  std::uint32_t bus = 0;
  std::uint32_t device = 0;
  std::uint32_t function = 0;
  bool operator==(const PciAddress&) const = default;
};

struct DrmDevice {
  std::string primaryNode;  // "/dev/dri/card0"; empty without a display node
  std::string renderNode;   // "/dev/dri/renderD128"; empty for display-only devices
  std::optional<PciAddress> pci;
  std::string driverName;        // the kernel driver bound to the device
  std::string CardName() const;  // "card0" for "/dev/dri/card0"
};

// Every DRM device; empty when the machine has none (no /dev/dri). A listing
// that fails for another reason throws PlatformError.
std::vector<DrmDevice> ListDrmDevices();

}  // namespace kovrin::sysinfo
