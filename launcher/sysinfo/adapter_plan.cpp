#include "launcher/sysinfo/adapter_plan.h"

#include <charconv>
#include <string_view>

namespace kovrin::sysinfo {
namespace {

bool SameGpu(const DrmDevice& kernel, const VulkanDeviceInfo& device) {
  if (kernel.pci && device.pci) {
    return *kernel.pci == *device.pci;
  }
  const std::optional<std::int64_t> minor = RenderMinor(kernel.renderNode);
  return minor && device.renderMinor && *minor == *device.renderMinor;
}

bool SameNode(const DrmDevice& kernel, const EglDeviceInfo& device) {
  return (!device.renderNode.empty() && device.renderNode == kernel.renderNode) ||
         (!device.drmFile.empty() && device.drmFile == kernel.primaryNode);
}

template <typename List, typename Match>
std::optional<std::size_t> FirstFree(const List& list, std::vector<bool>& used, Match match) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (!used[i] && match(list[i])) {
      used[i] = true;
      return i;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::int64_t> RenderMinor(const std::string& renderNode) {
  constexpr std::string_view kPrefix = "renderD";
  const std::size_t at = renderNode.rfind(kPrefix);
  if (at == std::string::npos) {
    return std::nullopt;
  }
  const char* first = renderNode.data() + at + kPrefix.size();
  const char* last = renderNode.data() + renderNode.size();
  std::uint32_t minor = 0;  // a device number: no sign
  const auto [end, ec] = std::from_chars(first, last, minor);
  if (ec != std::errc() || end != last || first == last) {
    return std::nullopt;
  }
  return minor;
}

std::vector<AdapterPlan> PlanAdapters(const std::vector<DrmDevice>& drm, const std::vector<VulkanDeviceInfo>& vulkan,
                                      const std::vector<EglDeviceInfo>& egl) {
  std::vector<bool> vulkanUsed(vulkan.size());
  std::vector<bool> eglUsed(egl.size());
  std::vector<AdapterPlan> plans;
  for (std::size_t i = 0; i < drm.size(); ++i) {
    if (drm[i].renderNode.empty()) {
      continue;  // a display controller without a GPU
    }
    AdapterPlan plan;
    plan.drm = i;
    plan.vulkan = FirstFree(vulkan, vulkanUsed, [&](const VulkanDeviceInfo& d) { return SameGpu(drm[i], d); });
    plan.egl = FirstFree(egl, eglUsed, [&](const EglDeviceInfo& d) { return SameNode(drm[i], d); });
    plans.push_back(plan);
  }
  for (std::size_t j = 0; j < vulkan.size(); ++j) {
    if (!vulkanUsed[j] && vulkan[j].type != VK_PHYSICAL_DEVICE_TYPE_CPU) {
      vulkanUsed[j] = true;
      AdapterPlan plan;
      plan.vulkan = j;
      plans.push_back(plan);
    }
  }
  if (!plans.empty()) {
    return plans;
  }
  AdapterPlan software;
  software.software = true;
  software.vulkan =
      FirstFree(vulkan, vulkanUsed, [](const VulkanDeviceInfo& d) { return d.type == VK_PHYSICAL_DEVICE_TYPE_CPU; });
  software.egl = FirstFree(egl, eglUsed, [](const EglDeviceInfo& d) { return d.software; });
  if (software.vulkan || software.egl) {
    plans.push_back(software);
  }
  return plans;
}

}  // namespace kovrin::sysinfo
