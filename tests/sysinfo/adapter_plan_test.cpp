// Which kernel, Vulkan and EGL devices make up each adapter.
#include <gtest/gtest.h>

#include "launcher/sysinfo/adapter_plan.h"

namespace kovrin::sysinfo {
namespace {

DrmDevice Gpu(int index, PciAddress pci) {
  DrmDevice device;
  device.primaryNode = "/dev/dri/card" + std::to_string(index);
  device.renderNode = "/dev/dri/renderD" + std::to_string(128 + index);
  device.pci = pci;
  return device;
}

VulkanDeviceInfo Vk(const std::string& name, VkPhysicalDeviceType type, std::optional<PciAddress> pci = {}) {
  VulkanDeviceInfo device;
  device.name = name;
  device.type = type;
  device.pci = pci;
  return device;
}

EglDeviceInfo Egl(const std::string& renderNode, bool software = false) {
  EglDeviceInfo device;
  device.renderNode = renderNode;
  device.software = software;
  return device;
}

constexpr PciAddress kBus1{0, 1, 0, 0};
constexpr PciAddress kBus2{0, 2, 0, 0};

TEST(PlanAdapters, NoDevicesNoAdapter) { EXPECT_TRUE(PlanAdapters({}, {}, {}).empty()); }

TEST(PlanAdapters, WithoutAGpuTheCpuRenderersMakeOneSoftwareAdapter) {
  const std::vector<VulkanDeviceInfo> vulkan = {Vk("llvmpipe", VK_PHYSICAL_DEVICE_TYPE_CPU)};
  const std::vector<EglDeviceInfo> egl = {Egl("", true)};
  const std::vector<AdapterPlan> plans = PlanAdapters({}, vulkan, egl);
  ASSERT_EQ(plans.size(), 1u);
  EXPECT_TRUE(plans[0].software);
  EXPECT_EQ(plans[0].vulkan, 0u);
  EXPECT_EQ(plans[0].egl, 0u);
  EXPECT_FALSE(plans[0].drm.has_value());
}

TEST(PlanAdapters, ASoftwareAdapterNeedsOnlyOneOfItsRenderers) {
  const std::vector<AdapterPlan> onlyGl = PlanAdapters({}, {}, {Egl("", true)});
  ASSERT_EQ(onlyGl.size(), 1u);
  EXPECT_FALSE(onlyGl[0].vulkan.has_value());
  EXPECT_EQ(onlyGl[0].egl, 0u);
  const std::vector<AdapterPlan> onlyVulkan = PlanAdapters({}, {Vk("cpu", VK_PHYSICAL_DEVICE_TYPE_CPU)}, {});
  ASSERT_EQ(onlyVulkan.size(), 1u);
  EXPECT_FALSE(onlyVulkan[0].egl.has_value());
}

TEST(PlanAdapters, GpusAreMatchedByPciAddressAndRenderNode) {
  const std::vector<DrmDevice> drm = {Gpu(0, kBus1), Gpu(1, kBus2)};
  const std::vector<VulkanDeviceInfo> vulkan = {Vk("llvmpipe", VK_PHYSICAL_DEVICE_TYPE_CPU),
                                                Vk("second", VK_PHYSICAL_DEVICE_TYPE_DISCRETE_GPU, kBus2),
                                                Vk("first", VK_PHYSICAL_DEVICE_TYPE_INTEGRATED_GPU, kBus1)};
  const std::vector<EglDeviceInfo> egl = {Egl("/dev/dri/renderD129"), Egl("/dev/dri/renderD128"), Egl("", true)};
  const std::vector<AdapterPlan> plans = PlanAdapters(drm, vulkan, egl);
  ASSERT_EQ(plans.size(), 2u) << "the CPU renderers are no adapter beside GPUs";
  EXPECT_EQ(plans[0].drm, 0u);
  EXPECT_EQ(plans[0].vulkan, 2u);
  EXPECT_EQ(plans[0].egl, 1u);
  EXPECT_EQ(plans[1].drm, 1u);
  EXPECT_EQ(plans[1].vulkan, 1u);
  EXPECT_EQ(plans[1].egl, 0u);
  EXPECT_FALSE(plans[0].software || plans[1].software);
}

TEST(PlanAdapters, WithoutPciInfoTheRenderMinorMatches) {
  DrmDevice platformGpu;
  platformGpu.primaryNode = "/dev/dri/card0";
  platformGpu.renderNode = "/dev/dri/renderD128";
  VulkanDeviceInfo vulkan = Vk("soc", VK_PHYSICAL_DEVICE_TYPE_INTEGRATED_GPU);
  vulkan.renderMinor = 128;
  const std::vector<AdapterPlan> plans = PlanAdapters({platformGpu}, {vulkan}, {});
  ASSERT_EQ(plans.size(), 1u);
  EXPECT_EQ(plans[0].vulkan, 0u);
}

TEST(PlanAdapters, DisplayOnlyDevicesAreNoAdapters) {
  DrmDevice display;
  display.primaryNode = "/dev/dri/card0";  // a display controller without render node
  const std::vector<AdapterPlan> plans = PlanAdapters({display}, {Vk("llvmpipe", VK_PHYSICAL_DEVICE_TYPE_CPU)}, {});
  ASSERT_EQ(plans.size(), 1u);
  EXPECT_TRUE(plans[0].software);
}

TEST(PlanAdapters, AGpuOnlyVulkanKnowsStillCounts) {
  const std::vector<AdapterPlan> plans =
      PlanAdapters({Gpu(0, kBus1)}, {Vk("other", VK_PHYSICAL_DEVICE_TYPE_DISCRETE_GPU, kBus2)}, {});
  ASSERT_EQ(plans.size(), 2u);
  EXPECT_EQ(plans[0].drm, 0u);
  EXPECT_FALSE(plans[0].vulkan.has_value()) << "a GPU on another bus is not this one";
  EXPECT_EQ(plans[1].vulkan, 0u);
  EXPECT_FALSE(plans[1].drm.has_value());
}

TEST(DisplayAdapterChoice, BootVgaWinsThenTheFirstCard) {
  const std::vector<DrmDevice> drm = {Gpu(0, kBus1), Gpu(1, kBus2)};
  const std::vector<AdapterPlan> plans = PlanAdapters(drm, {}, {});
  EXPECT_EQ(DisplayAdapter(plans, drm, [](const std::string& card) { return card == "card1"; }), 1u);
  EXPECT_EQ(DisplayAdapter(plans, drm, [](const std::string&) { return false; }), 0u);
  AdapterPlan software;
  software.software = true;
  EXPECT_EQ(DisplayAdapter({software}, {}, [](const std::string&) { return true; }), 0u);
}

TEST(RenderMinorTest, ReadsTheNodeNumber) {
  EXPECT_EQ(RenderMinor("/dev/dri/renderD128"), 128);
  EXPECT_EQ(RenderMinor("/dev/dri/renderD130"), 130);
  EXPECT_FALSE(RenderMinor("/dev/dri/card0").has_value());
  EXPECT_FALSE(RenderMinor("/dev/dri/renderD").has_value());
  EXPECT_FALSE(RenderMinor("/dev/dri/renderD12x").has_value());
  EXPECT_FALSE(RenderMinor("/dev/dri/renderD-5").has_value()) << "a device number has no sign";
  EXPECT_FALSE(RenderMinor("/dev/dri/renderD+5").has_value());
  EXPECT_FALSE(RenderMinor("").has_value());
}

}  // namespace
}  // namespace kovrin::sysinfo
