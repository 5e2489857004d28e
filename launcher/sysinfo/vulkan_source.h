// The machine's Vulkan physical devices and what they can render.
#pragma once

#include <vulkan/vulkan.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "launcher/sysinfo/capability_rules.h"
#include "launcher/sysinfo/drm_source.h"
#include "launcher/sysinfo/guid_text.h"
#include "launcher/sysinfo/sysinfo_records.h"

namespace kovrin::sysinfo {

struct VulkanDeviceInfo {
  VkPhysicalDevice handle = VK_NULL_HANDLE;
  std::string name;
  VkPhysicalDeviceType type = VK_PHYSICAL_DEVICE_TYPE_OTHER;
  std::uint32_t apiVersion = 0;
  std::optional<Uuid> deviceUuid;
  std::optional<Uuid> driverUuid;
  std::string driverName;                   // VkPhysicalDeviceDriverProperties::driverName
  std::optional<PciAddress> pci;            // VK_EXT_pci_bus_info
  std::optional<std::int64_t> renderMinor;  // VK_EXT_physical_device_drm
  bool hasMemoryBudget = false;             // VK_EXT_memory_budget
};

class VulkanInstance {
 public:
  // nullptr when the machine has no usable Vulkan driver; PlatformError when
  // a driver is there and refuses the instance.
  static std::unique_ptr<VulkanInstance> Open();
  ~VulkanInstance();
  VulkanInstance(const VulkanInstance&) = delete;
  VulkanInstance& operator=(const VulkanInstance&) = delete;

  std::vector<VulkanDeviceInfo> Devices() const;
  VideoMemory Memory(const VulkanDeviceInfo& device, std::optional<std::uint64_t> memAvailable) const;
  // The 3-D device record; creates a logical device for the texture placement.
  DeviceDesc Describe(const VulkanDeviceInfo& device) const;

 private:
  explicit VulkanInstance(VkInstance instance) : instance_(instance) {}
  VkInstance instance_;
};

// Render and z-buffer depths from the formats the device renders to with
// optimal tiling (features: the format's optimalTilingFeatures).
DepthWords VulkanDepthWords(const std::function<VkFormatFeatureFlags(VkFormat)>& features);

// "Vulkan 1.3.230" for an API version number.
std::string VulkanApiName(std::uint32_t apiVersion);

}  // namespace kovrin::sysinfo
