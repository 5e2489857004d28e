#include "launcher/sysinfo/vulkan_source.h"

#include <algorithm>
#include <cstring>

#include "launcher/sysinfo/platform_error.h"

namespace kovrin::sysinfo {
namespace {

struct FormatDepth {
  VkFormat format;
  int bits;
};

// Both channel orders count: a device that renders only one of them still
// renders that many bits per pixel.
constexpr FormatDepth kColourFormats[] = {
    {VK_FORMAT_R5G6B5_UNORM_PACK16, 16}, {VK_FORMAT_B5G6R5_UNORM_PACK16, 16}, {VK_FORMAT_R8G8B8_UNORM, 24},
    {VK_FORMAT_B8G8R8_UNORM, 24},        {VK_FORMAT_B8G8R8A8_UNORM, 32},      {VK_FORMAT_R8G8B8A8_UNORM, 32},
};

constexpr FormatDepth kDepthFormats[] = {
    {VK_FORMAT_D16_UNORM, 16},         {VK_FORMAT_D16_UNORM_S8_UINT, 16}, {VK_FORMAT_X8_D24_UNORM_PACK32, 24},
    {VK_FORMAT_D24_UNORM_S8_UINT, 24}, {VK_FORMAT_D32_SFLOAT, 32},        {VK_FORMAT_D32_SFLOAT_S8_UINT, 32},
};

// A zeroed Vulkan structure of the given type.
template <typename T>
T Make(VkStructureType type) {
  T value{};
  value.sType = type;
  return value;
}

void Check(VkResult result, const char* call) {
  if (result != VK_SUCCESS) {
    throw PlatformError(static_cast<int>(result),
                        std::string(call) + " failed with VkResult " + std::to_string(static_cast<int>(result)));
  }
}

std::vector<std::string> ExtensionNames(VkPhysicalDevice device) {
  std::uint32_t count = 0;
  Check(vkEnumerateDeviceExtensionProperties(device, nullptr, &count, nullptr), "vkEnumerateDeviceExtensionProperties");
  std::vector<VkExtensionProperties> properties(count);
  Check(vkEnumerateDeviceExtensionProperties(device, nullptr, &count, properties.data()),
        "vkEnumerateDeviceExtensionProperties");
  std::vector<std::string> names;
  for (std::uint32_t i = 0; i < count; ++i) {
    names.emplace_back(properties[i].extensionName);
  }
  return names;
}

bool Has(const std::vector<std::string>& names, const char* name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

Uuid ToUuid(const std::uint8_t (&bytes)[VK_UUID_SIZE]) {
  Uuid out{};
  std::memcpy(out.data(), bytes, out.size());
  return out;
}

VulkanDeviceInfo Inspect(VkPhysicalDevice handle) {
  VkPhysicalDeviceProperties basic{};
  vkGetPhysicalDeviceProperties(handle, &basic);
  const std::vector<std::string> extensions = ExtensionNames(handle);

  auto id = Make<VkPhysicalDeviceIDProperties>(VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_ID_PROPERTIES);
  auto driver = Make<VkPhysicalDeviceDriverProperties>(VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_DRIVER_PROPERTIES);
  auto pci =
      Make<VkPhysicalDevicePCIBusInfoPropertiesEXT>(VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_PCI_BUS_INFO_PROPERTIES_EXT);
  auto drm = Make<VkPhysicalDeviceDrmPropertiesEXT>(VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_DRM_PROPERTIES_EXT);
  auto properties = Make<VkPhysicalDeviceProperties2>(VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_PROPERTIES_2);
  // Only structures the device knows may be chained.
  const bool hasId = basic.apiVersion >= VK_API_VERSION_1_1;
  const bool hasDriver =
      basic.apiVersion >= VK_API_VERSION_1_2 || Has(extensions, VK_KHR_DRIVER_PROPERTIES_EXTENSION_NAME);
  const bool hasPci = Has(extensions, VK_EXT_PCI_BUS_INFO_EXTENSION_NAME);
  const bool hasDrm = Has(extensions, VK_EXT_PHYSICAL_DEVICE_DRM_EXTENSION_NAME);
  void** next = &properties.pNext;
  auto chain = [&next](bool wanted, auto& structure) {
    if (wanted) {
      *next = &structure;
      next = &structure.pNext;
    }
  };
  chain(hasId, id);
  chain(hasDriver, driver);
  chain(hasPci, pci);
  chain(hasDrm, drm);
  vkGetPhysicalDeviceProperties2(handle, &properties);

  VulkanDeviceInfo info;
  info.handle = handle;
  info.name = basic.deviceName;
  info.type = basic.deviceType;
  info.apiVersion = basic.apiVersion;
  if (hasId) {
    info.deviceUuid = ToUuid(id.deviceUUID);
    info.driverUuid = ToUuid(id.driverUUID);
  }
  if (hasDriver) {
    info.driverName = driver.driverName;
  }
  if (hasPci) {
    info.pci = PciAddress{pci.pciDomain, pci.pciBus, pci.pciDevice, pci.pciFunction};
  }
  if (hasDrm && drm.hasRender) {
    info.renderMinor = drm.renderMinor;
  }
  info.hasMemoryBudget = Has(extensions, VK_EXT_MEMORY_BUDGET_EXTENSION_NAME);
  return info;
}

// The memory types a sampled 2-D texture may be bound to, asked of a logical
// device because only a real image has memory requirements.
std::uint32_t TextureMemoryTypeBits(VkPhysicalDevice physical) {
  const float priority = 1.0f;
  auto queue = Make<VkDeviceQueueCreateInfo>(VK_STRUCTURE_TYPE_DEVICE_QUEUE_CREATE_INFO);
  queue.queueFamilyIndex = 0;
  queue.queueCount = 1;
  queue.pQueuePriorities = &priority;
  auto create = Make<VkDeviceCreateInfo>(VK_STRUCTURE_TYPE_DEVICE_CREATE_INFO);
  create.queueCreateInfoCount = 1;
  create.pQueueCreateInfos = &queue;
  VkDevice device = VK_NULL_HANDLE;
  Check(vkCreateDevice(physical, &create, nullptr, &device), "vkCreateDevice");

  auto image = Make<VkImageCreateInfo>(VK_STRUCTURE_TYPE_IMAGE_CREATE_INFO);
  image.imageType = VK_IMAGE_TYPE_2D;
  image.format = VK_FORMAT_R8G8B8A8_UNORM;
  image.extent = {256, 256, 1};
  image.mipLevels = 1;
  image.arrayLayers = 1;
  image.samples = VK_SAMPLE_COUNT_1_BIT;
  image.tiling = VK_IMAGE_TILING_OPTIMAL;
  image.usage = VK_IMAGE_USAGE_SAMPLED_BIT | VK_IMAGE_USAGE_TRANSFER_DST_BIT;
  image.sharingMode = VK_SHARING_MODE_EXCLUSIVE;
  image.initialLayout = VK_IMAGE_LAYOUT_UNDEFINED;
  VkImage texture = VK_NULL_HANDLE;
  const VkResult created = vkCreateImage(device, &image, nullptr, &texture);
  if (created != VK_SUCCESS) {
    vkDestroyDevice(device, nullptr);
    Check(created, "vkCreateImage");
  }
  VkMemoryRequirements requirements{};
  vkGetImageMemoryRequirements(device, texture, &requirements);
  vkDestroyImage(device, texture, nullptr);
  vkDestroyDevice(device, nullptr);
  return requirements.memoryTypeBits;
}

}  // namespace

std::unique_ptr<VulkanInstance> VulkanInstance::Open() {
  auto application = Make<VkApplicationInfo>(VK_STRUCTURE_TYPE_APPLICATION_INFO);
  application.pApplicationName = "kovrin";
  application.apiVersion = VK_API_VERSION_1_1;
  auto create = Make<VkInstanceCreateInfo>(VK_STRUCTURE_TYPE_INSTANCE_CREATE_INFO);
  create.pApplicationInfo = &application;
  VkInstance instance = VK_NULL_HANDLE;
  const VkResult result = vkCreateInstance(&create, nullptr, &instance);
  if (result == VK_ERROR_INCOMPATIBLE_DRIVER || result == VK_ERROR_INITIALIZATION_FAILED) {
    return nullptr;  // no driver for this machine
  }
  Check(result, "vkCreateInstance");
  return std::unique_ptr<VulkanInstance>(new VulkanInstance(instance));
}

VulkanInstance::~VulkanInstance() { vkDestroyInstance(instance_, nullptr); }

std::vector<VulkanDeviceInfo> VulkanInstance::Devices() const {
  std::uint32_t count = 0;
  Check(vkEnumeratePhysicalDevices(instance_, &count, nullptr), "vkEnumeratePhysicalDevices");
  std::vector<VkPhysicalDevice> handles(count);
  const VkResult listed = vkEnumeratePhysicalDevices(instance_, &count, handles.data());
  if (listed != VK_INCOMPLETE) {
    Check(listed, "vkEnumeratePhysicalDevices");
  }
  std::vector<VulkanDeviceInfo> devices;
  for (std::uint32_t i = 0; i < count; ++i) {
    devices.push_back(Inspect(handles[i]));
  }
  return devices;
}

VideoMemory VulkanInstance::Memory(const VulkanDeviceInfo& device, std::optional<std::uint64_t> memAvailable) const {
  auto budget =
      Make<VkPhysicalDeviceMemoryBudgetPropertiesEXT>(VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_MEMORY_BUDGET_PROPERTIES_EXT);
  auto properties = Make<VkPhysicalDeviceMemoryProperties2>(VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_MEMORY_PROPERTIES_2);
  if (device.hasMemoryBudget) {
    properties.pNext = &budget;
  }
  vkGetPhysicalDeviceMemoryProperties2(device.handle, &properties);
  const VkPhysicalDeviceMemoryProperties& memory = properties.memoryProperties;

  std::optional<HeapFigures> largest;
  for (std::uint32_t i = 0; i < memory.memoryHeapCount; ++i) {
    const VkMemoryHeap& heap = memory.memoryHeaps[i];
    if (!(heap.flags & VK_MEMORY_HEAP_DEVICE_LOCAL_BIT) || (largest && largest->size >= heap.size)) {
      continue;
    }
    largest = HeapFigures{heap.size, std::nullopt, std::nullopt};
    if (device.hasMemoryBudget) {
      largest->budget = budget.heapBudget[i];
      largest->usage = budget.heapUsage[i];
    }
  }
  const bool sharesSystemMemory =
      device.type == VK_PHYSICAL_DEVICE_TYPE_INTEGRATED_GPU || device.type == VK_PHYSICAL_DEVICE_TYPE_CPU;
  return VideoMemoryFigures(largest, sharesSystemMemory, memAvailable);
}

DeviceDesc VulkanInstance::Describe(const VulkanDeviceInfo& device) const {
  VkPhysicalDeviceProperties properties{};
  vkGetPhysicalDeviceProperties(device.handle, &properties);
  const DepthWords depths = VulkanDepthWords([&device](VkFormat format) {
    VkFormatProperties formatProperties{};
    vkGetPhysicalDeviceFormatProperties(device.handle, format, &formatProperties);
    return formatProperties.optimalTilingFeatures;
  });

  VkPhysicalDeviceMemoryProperties memory{};
  vkGetPhysicalDeviceMemoryProperties(device.handle, &memory);
  std::vector<bool> deviceLocal;
  for (std::uint32_t i = 0; i < memory.memoryTypeCount; ++i) {
    deviceLocal.push_back((memory.memoryTypes[i].propertyFlags & VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT) != 0);
  }

  DeviceDesc desc;
  desc.guid = FormatGuid(device.driverUuid ? *device.driverUuid
                                           : UuidFromName("vulkan:" + device.driverName + ":" + device.name));
  desc.description = device.name;
  desc.name = VulkanApiName(device.apiVersion);
  desc.maxTextureWidth = properties.limits.maxImageDimension2D;
  desc.maxTextureHeight = properties.limits.maxImageDimension2D;
  desc.renderBitDepth = depths.render;
  desc.zBufferBitDepth = depths.zBuffer;
  desc.devCaps = TextureMemoryCaps(TextureMemoryTypeBits(device.handle), deviceLocal);
  return desc;
}

DepthWords VulkanDepthWords(const std::function<VkFormatFeatureFlags(VkFormat)>& features) {
  DepthWords words;
  for (const FormatDepth& entry : kColourFormats) {
    if (features(entry.format) & VK_FORMAT_FEATURE_COLOR_ATTACHMENT_BIT) {
      words.render |= DepthBit(entry.bits);
    }
  }
  for (const FormatDepth& entry : kDepthFormats) {
    if (features(entry.format) & VK_FORMAT_FEATURE_DEPTH_STENCIL_ATTACHMENT_BIT) {
      words.zBuffer |= DepthBit(entry.bits);
    }
  }
  return words;
}

std::string VulkanApiName(std::uint32_t apiVersion) {
  return "Vulkan " + std::to_string(VK_API_VERSION_MAJOR(apiVersion)) + "." +
         std::to_string(VK_API_VERSION_MINOR(apiVersion)) + "." + std::to_string(VK_API_VERSION_PATCH(apiVersion));
}

}  // namespace kovrin::sysinfo
