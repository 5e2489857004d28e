// The real provider: the report's records from libdrm, Vulkan, EGL's device
// platform, XRandR and the kernel's mode lists, each source optional.
#include <algorithm>
#include <cstdio>

#include "launcher/sysinfo/adapter_plan.h"
#include "launcher/sysinfo/drm_source.h"
#include "launcher/sysinfo/egl_source.h"
#include "launcher/sysinfo/guid_text.h"
#include "launcher/sysinfo/platform_error.h"
#include "launcher/sysinfo/sysfs_facts.h"
#include "launcher/sysinfo/sysinfo_provider.h"
#include "launcher/sysinfo/vulkan_source.h"
#include "launcher/sysinfo/x11_source.h"

namespace kovrin::sysinfo {
namespace {

enum class DeviceKind { OpenGL, Vulkan };

std::string PciText(const PciAddress& pci) {
  char text[32];
  std::snprintf(text, sizeof text, "%04x:%02x:%02x.%x", pci.domain, pci.bus, pci.device, pci.function);
  return text;
}

class LinuxProvider final : public Provider {
 public:
  std::vector<AdapterIdentity> Adapters() override;
  AdapterCaps Caps(const std::string& guid) override;
  std::size_t DeviceCount(const std::string& guid) override;
  DeviceDesc Device(const std::string& guid, std::size_t index) override;
  std::vector<DisplayMode> Modes(const std::string& guid) override;

 private:
  struct Adapter {
    AdapterIdentity identity;
    AdapterPlan plan;
    bool showsXScreen = false;
    std::optional<std::vector<DeviceKind>> devices;  // counted on first ask
  };

  Adapter& Find(const std::string& guid);
  AdapterIdentity Identify(const AdapterPlan& plan);
  std::vector<DeviceKind>& DevicesOf(Adapter& adapter);

  // Kept for the provider's lifetime, like the report window's root object.
  std::unique_ptr<VulkanInstance> vulkan_;
  bool vulkanOpened_ = false;

  std::vector<DrmDevice> drm_;
  std::vector<VulkanDeviceInfo> vulkanDevices_;
  std::vector<EglDeviceInfo> egl_;
  std::vector<Adapter> adapters_;
};

std::vector<AdapterIdentity> LinuxProvider::Adapters() {
  if (!vulkanOpened_) {
    vulkan_ = VulkanInstance::Open();
    vulkanOpened_ = true;
  }
  drm_ = ListDrmDevices();
  vulkanDevices_ = vulkan_ ? vulkan_->Devices() : std::vector<VulkanDeviceInfo>();
  egl_ = ListEglDevices();
  adapters_.clear();
  const std::vector<AdapterPlan> plans = PlanAdapters(drm_, vulkanDevices_, egl_);
  const std::size_t shown = DisplayAdapter(plans, drm_, [](const std::string& card) { return IsBootVga(card); });
  std::vector<AdapterIdentity> identities;
  for (std::size_t i = 0; i < plans.size(); ++i) {
    Adapter adapter{Identify(plans[i]), plans[i], i == shown, std::nullopt};
    identities.push_back(adapter.identity);
    adapters_.push_back(std::move(adapter));
  }
  return identities;
}

AdapterIdentity LinuxProvider::Identify(const AdapterPlan& plan) {
  const VulkanDeviceInfo* vulkan = plan.vulkan ? &vulkanDevices_[*plan.vulkan] : nullptr;
  const DrmDevice* kernel = plan.drm ? &drm_[*plan.drm] : nullptr;
  const EglDeviceInfo* egl = plan.egl ? &egl_[*plan.egl] : nullptr;
  AdapterIdentity identity;
  if (vulkan && vulkan->deviceUuid) {
    identity.guid = FormatGuid(*vulkan->deviceUuid);
  } else if (kernel) {
    identity.guid = FormatGuid(UuidFromName("drm:" + (kernel->pci ? PciText(*kernel->pci) : kernel->renderNode)));
  } else if (vulkan) {
    identity.guid = FormatGuid(UuidFromName("vulkan:" + vulkan->name));
  } else {
    identity.guid = FormatGuid(UuidFromName("egl:" + egl->IdString()));
  }
  if (vulkan) {
    identity.description = vulkan->name;
  } else if (egl && EglOffersOpenGL(*egl)) {
    identity.description = QueryOpenGL(*egl).renderer;
  }
  identity.driverName = kernel && !kernel->driverName.empty() ? kernel->driverName
                        : vulkan                              ? vulkan->driverName
                                                              : std::string();
  return identity;
}

LinuxProvider::Adapter& LinuxProvider::Find(const std::string& guid) {
  const auto it =
      std::find_if(adapters_.begin(), adapters_.end(), [&guid](const Adapter& a) { return a.identity.guid == guid; });
  if (it == adapters_.end()) {
    throw PlatformError(0, "no display adapter with GUID " + guid);
  }
  return *it;
}

AdapterCaps LinuxProvider::Caps(const std::string& guid) {
  const Adapter& adapter = Find(guid);
  AdapterCaps caps;
  if (adapter.plan.vulkan) {
    const VideoMemory memory = vulkan_->Memory(vulkanDevices_[*adapter.plan.vulkan], ReadMemAvailable());
    caps.vidMemTotal = memory.total;
    caps.vidMemFree = memory.free;
  }
  if (adapter.showsXScreen) {
    if (const std::optional<XScreenFacts> screen = ReadXScreen()) {
      caps.palCaps = screen->palCaps;
      caps.canCalibrateGamma = screen->gammaRamps;
    }
  }
  return caps;
}

std::vector<DeviceKind>& LinuxProvider::DevicesOf(Adapter& adapter) {
  if (!adapter.devices) {
    adapter.devices.emplace();
    if (adapter.plan.egl && EglOffersOpenGL(egl_[*adapter.plan.egl])) {
      adapter.devices->push_back(DeviceKind::OpenGL);
    }
    if (adapter.plan.vulkan) {
      adapter.devices->push_back(DeviceKind::Vulkan);
    }
  }
  return *adapter.devices;
}

std::size_t LinuxProvider::DeviceCount(const std::string& guid) {
  Adapter& adapter = Find(guid);
  adapter.devices.reset();  // every report counts afresh
  return DevicesOf(adapter).size();
}

DeviceDesc LinuxProvider::Device(const std::string& guid, std::size_t index) {
  Adapter& adapter = Find(guid);
  const std::vector<DeviceKind>& devices = DevicesOf(adapter);
  if (index >= devices.size()) {
    throw PlatformError(0, "no 3-D device " + std::to_string(index + 1) + " on adapter " + guid);
  }
  if (devices[index] == DeviceKind::Vulkan) {
    return vulkan_->Describe(vulkanDevices_[*adapter.plan.vulkan]);
  }
  const EglDeviceInfo& egl = egl_[*adapter.plan.egl];
  return DescribeOpenGL(egl, QueryOpenGL(egl));
}

std::vector<DisplayMode> LinuxProvider::Modes(const std::string& guid) {
  const Adapter& adapter = Find(guid);
  if (const std::optional<XScreenFacts> screen = ReadXScreen()) {
    return adapter.showsXScreen ? screen->modes : std::vector<DisplayMode>();
  }
  // No X display: the kernel's own lists. The software renderer shows through
  // whatever display controllers the machine has.
  std::vector<std::string> cards;
  if (adapter.plan.software) {
    cards = KernelCards();
  } else if (adapter.plan.drm && !drm_[*adapter.plan.drm].primaryNode.empty()) {
    cards.push_back(drm_[*adapter.plan.drm].CardName());
  }
  std::vector<DisplayMode> modes;
  for (const std::string& card : cards) {
    const std::vector<DisplayMode> more = KernelModesOfCard(card);
    modes.insert(modes.end(), more.begin(), more.end());
  }
  return modes;
}

}  // namespace

std::unique_ptr<Provider> MakeLinuxProvider() { return std::make_unique<LinuxProvider>(); }

}  // namespace kovrin::sysinfo
