#include "launcher/sysinfo/drm_source.h"

#include <xf86drm.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "launcher/sysinfo/platform_error.h"

namespace kovrin::sysinfo {
namespace {

// The name of the kernel driver bound to a device node, read from sysfs so
// that it needs no permission to open the node.
std::string KernelDriverOf(const std::string& node) {
  struct stat info {};
  if (node.empty() || stat(node.c_str(), &info) != 0) {
    return {};
  }
  const std::filesystem::path link = "/sys/dev/char/" + std::to_string(major(info.st_rdev)) + ":" +
                                     std::to_string(minor(info.st_rdev)) + "/device/driver";
  std::error_code error;
  const std::filesystem::path target = std::filesystem::read_symlink(link, error);
  return error ? std::string() : target.filename().string();
}

std::string Node(const drmDevice& device, int type) {
  return (device.available_nodes & (1 << type)) ? device.nodes[type] : "";
}

DrmDevice Convert(const drmDevice& device) {
  DrmDevice out;
  out.primaryNode = Node(device, DRM_NODE_PRIMARY);
  out.renderNode = Node(device, DRM_NODE_RENDER);
  if (device.bustype == DRM_BUS_PCI && device.businfo.pci != nullptr) {
    const drmPciBusInfo& bus = *device.businfo.pci;
    out.pci = PciAddress{bus.domain, bus.bus, bus.dev, bus.func};
  }
  out.driverName = KernelDriverOf(out.renderNode.empty() ? out.primaryNode : out.renderNode);
  return out;
}

}  // namespace

std::string DrmDevice::CardName() const { return std::filesystem::path(primaryNode).filename().string(); }

std::vector<DrmDevice> ListDrmDevices() {
  const int count = drmGetDevices2(0, nullptr, 0);
  if (count == -ENOENT || count == -ENODEV || count == 0) {
    return {};  // no /dev/dri: a machine without kernel graphics devices
  }
  if (count < 0) {
    throw PlatformError(-count, std::string("drmGetDevices2: ") + std::strerror(-count));
  }
  std::vector<drmDevicePtr> devices(static_cast<std::size_t>(count));
  const int listed = drmGetDevices2(0, devices.data(), count);
  if (listed < 0) {
    throw PlatformError(-listed, std::string("drmGetDevices2: ") + std::strerror(-listed));
  }
  std::vector<DrmDevice> out;
  for (int i = 0; i < listed; ++i) {
    out.push_back(Convert(*devices[static_cast<std::size_t>(i)]));
  }
  drmFreeDevices(devices.data(), listed);
  return out;
}

}  // namespace kovrin::sysinfo
