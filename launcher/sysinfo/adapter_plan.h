// Which platform devices make up each display adapter of the report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "launcher/sysinfo/drm_source.h"
#include "launcher/sysinfo/egl_source.h"
#include "launcher/sysinfo/vulkan_source.h"

namespace kovrin::sysinfo {

// Indices into the three device lists.
struct AdapterPlan {
  std::optional<std::size_t> drm;
  std::optional<std::size_t> vulkan;
  std::optional<std::size_t> egl;
  bool software = false;  // the CPU renderers of a machine without a GPU
};

// One adapter per GPU: every kernel device with a render node, with the Vulkan
// device on the same PCI address (or render node) and the EGL device on the
// same node; then every GPU that only Vulkan knows. A machine with no GPU gets
// one software adapter: the first CPU-type Vulkan device and Mesa's software
// EGL device, whichever of them exist.
std::vector<AdapterPlan> PlanAdapters(const std::vector<DrmDevice>& drm, const std::vector<VulkanDeviceInfo>& vulkan,
                                      const std::vector<EglDeviceInfo>& egl);

// The adapter that shows the X screen: the one the firmware booted on, else
// the first with a display node, else the first. isBootVga is asked per card.
template <typename BootVga>
std::size_t DisplayAdapter(const std::vector<AdapterPlan>& plans, const std::vector<DrmDevice>& drm,
                           BootVga isBootVga) {
  std::optional<std::size_t> firstWithCard;
  for (std::size_t i = 0; i < plans.size(); ++i) {
    if (!plans[i].drm || drm[*plans[i].drm].primaryNode.empty()) {
      continue;
    }
    if (isBootVga(drm[*plans[i].drm].CardName())) {
      return i;
    }
    if (!firstWithCard) {
      firstWithCard = i;
    }
  }
  return firstWithCard.value_or(0);
}

// The minor number of a render node path, "/dev/dri/renderD128" -> 128.
std::optional<std::int64_t> RenderMinor(const std::string& renderNode);

}  // namespace kovrin::sysinfo
