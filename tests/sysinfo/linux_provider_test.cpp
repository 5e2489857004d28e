// The real provider on this machine, headless and under X servers started for
// the test. Every figure the report shows is compared with the same platform
// interface asked directly here, or at least checked for sense; nothing in the
// report may be a made-up value.
#include <gtest/gtest.h>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <vulkan/vulkan.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "launcher/sysinfo/system_report.h"
#include "tests/support/program_runner.h"
#include "tests/support/scoped_variable.h"
#include "tests/support/shared_data.h"

namespace kovrin::sysinfo {
namespace {

using Lines = std::vector<std::string>;

std::string Joined(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += "[" + line + "]\n";
  return text;
}

bool Contains(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The lines of the 3-D device whose name starts with `name`: from its Guid
// line up to the blank line that closes it.
Lines DeviceBlock(const Lines& lines, const std::string& name) {
  const std::string prefix = "     Name        " + name;
  const auto at =
      std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  if (at == lines.end() || at - lines.begin() < 2) return {};
  return Lines(at - 2, std::find(at, lines.end(), ""));
}

// The line two after `line`: the first device's Guid line after "   D3D devices" and its blank.
std::string BlockStartingAt(const Lines& lines, const std::string& line) {
  const auto at = std::find(lines.begin(), lines.end(), line);
  return lines.end() - at > 2 ? *(at + 2) : std::string();
}

Lines ModeLines(const Lines& lines) {
  const auto begin = std::find(lines.begin(), lines.end(), " Display Modes");
  return begin == lines.end() ? Lines{} : Lines(begin + 1, lines.end());
}

bool MachineHasGpu() {
  std::error_code error;
  for (std::filesystem::directory_iterator it("/dev/dri", error), end; !error && it != end; it.increment(error)) {
    if (it->path().filename().string().rfind("renderD", 0) == 0) return true;
  }
  return false;
}

Lines RealReport() {
  const auto provider = MakeLinuxProvider();
  return BuildReport(*provider);
}

// ---- The software devices, asked directly --------------------------------

struct VulkanTruth {
  std::string name;
  std::string guid;
  std::uint32_t maxImage2D = 0;
  std::uint64_t largestLocalHeap = 0;
  std::set<int> renderBits;
  std::set<int> depthBits;
};

std::string GuidOf(const std::uint8_t* bytes) {
  char text[64];
  std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", bytes[0],
                bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8], bytes[9], bytes[10],
                bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
  return text;
}

std::optional<VulkanTruth> AskVulkanCpuDevice() {
  VkApplicationInfo app{};
  app.sType = VK_STRUCTURE_TYPE_APPLICATION_INFO;
  app.apiVersion = VK_API_VERSION_1_1;
  VkInstanceCreateInfo create{};
  create.sType = VK_STRUCTURE_TYPE_INSTANCE_CREATE_INFO;
  create.pApplicationInfo = &app;
  VkInstance instance = VK_NULL_HANDLE;
  if (vkCreateInstance(&create, nullptr, &instance) != VK_SUCCESS) return std::nullopt;
  std::uint32_t count = 0;
  vkEnumeratePhysicalDevices(instance, &count, nullptr);
  std::vector<VkPhysicalDevice> devices(count);
  vkEnumeratePhysicalDevices(instance, &count, devices.data());
  std::optional<VulkanTruth> truth;
  for (VkPhysicalDevice device : devices) {
    VkPhysicalDeviceIDProperties id{};
    id.sType = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_ID_PROPERTIES;
    VkPhysicalDeviceProperties2 properties{};
    properties.sType = VK_STRUCTURE_TYPE_PHYSICAL_DEVICE_PROPERTIES_2;
    properties.pNext = &id;
    vkGetPhysicalDeviceProperties2(device, &properties);
    if (properties.properties.deviceType != VK_PHYSICAL_DEVICE_TYPE_CPU) continue;
    truth.emplace();
    truth->name = properties.properties.deviceName;
    truth->guid = GuidOf(id.deviceUUID);
    truth->maxImage2D = properties.properties.limits.maxImageDimension2D;
    VkPhysicalDeviceMemoryProperties memory{};
    vkGetPhysicalDeviceMemoryProperties(device, &memory);
    for (std::uint32_t i = 0; i < memory.memoryHeapCount; ++i) {
      if (memory.memoryHeaps[i].flags & VK_MEMORY_HEAP_DEVICE_LOCAL_BIT) {
        truth->largestLocalHeap = std::max<std::uint64_t>(truth->largestLocalHeap, memory.memoryHeaps[i].size);
      }
    }
    const std::pair<VkFormat, int> colour[] = {{VK_FORMAT_R5G6B5_UNORM_PACK16, 16}, {VK_FORMAT_B5G6R5_UNORM_PACK16, 16},
                                               {VK_FORMAT_R8G8B8_UNORM, 24},        {VK_FORMAT_B8G8R8_UNORM, 24},
                                               {VK_FORMAT_B8G8R8A8_UNORM, 32},      {VK_FORMAT_R8G8B8A8_UNORM, 32}};
    const std::pair<VkFormat, int> depth[] = {{VK_FORMAT_D16_UNORM, 16},           {VK_FORMAT_D16_UNORM_S8_UINT, 16},
                                              {VK_FORMAT_X8_D24_UNORM_PACK32, 24}, {VK_FORMAT_D24_UNORM_S8_UINT, 24},
                                              {VK_FORMAT_D32_SFLOAT, 32},          {VK_FORMAT_D32_SFLOAT_S8_UINT, 32}};
    for (const auto& [format, bits] : colour) {
      VkFormatProperties f{};
      vkGetPhysicalDeviceFormatProperties(device, format, &f);
      if (f.optimalTilingFeatures & VK_FORMAT_FEATURE_COLOR_ATTACHMENT_BIT) truth->renderBits.insert(bits);
    }
    for (const auto& [format, bits] : depth) {
      VkFormatProperties f{};
      vkGetPhysicalDeviceFormatProperties(device, format, &f);
      if (f.optimalTilingFeatures & VK_FORMAT_FEATURE_DEPTH_STENCIL_ATTACHMENT_BIT) truth->depthBits.insert(bits);
    }
    break;
  }
  vkDestroyInstance(instance, nullptr);
  return truth;
}

struct GlTruth {
  std::string renderer;
  int maxTexture = 0;
  std::set<int> bufferSizes;
  std::set<int> depthSizes;
};

std::optional<GlTruth> AskEglSoftwareDevice() {
  const auto queryDevices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
  const auto queryString =
      reinterpret_cast<PFNEGLQUERYDEVICESTRINGEXTPROC>(eglGetProcAddress("eglQueryDeviceStringEXT"));
  const auto getDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!queryDevices || !queryString || !getDisplay) return std::nullopt;
  EGLDeviceEXT devices[16];
  EGLint count = 0;
  if (!queryDevices(16, devices, &count)) return std::nullopt;
  for (EGLint i = 0; i < count; ++i) {
    const char* extensions = queryString(devices[i], EGL_EXTENSIONS);
    if (!extensions || !std::strstr(extensions, "EGL_MESA_device_software")) continue;
    const EGLDisplay display = getDisplay(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr);
    if (!eglInitialize(display, nullptr, nullptr)) return std::nullopt;
    GlTruth truth;
    EGLint configCount = 0;
    eglGetConfigs(display, nullptr, 0, &configCount);
    std::vector<EGLConfig> configs(static_cast<std::size_t>(configCount));
    eglGetConfigs(display, configs.data(), configCount, &configCount);
    for (EGLConfig config : configs) {
      EGLint renderable = 0, buffer = 0, depth = 0, type = 0;
      eglGetConfigAttrib(display, config, EGL_RENDERABLE_TYPE, &renderable);
      eglGetConfigAttrib(display, config, EGL_COLOR_BUFFER_TYPE, &type);
      if (!(renderable & EGL_OPENGL_BIT) || type != EGL_RGB_BUFFER) continue;
      eglGetConfigAttrib(display, config, EGL_BUFFER_SIZE, &buffer);
      eglGetConfigAttrib(display, config, EGL_DEPTH_SIZE, &depth);
      truth.bufferSizes.insert(buffer);
      truth.depthSizes.insert(depth);
    }
    eglBindAPI(EGL_OPENGL_API);
    const EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, nullptr);
    if (context != EGL_NO_CONTEXT && eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
      glGetIntegerv(GL_MAX_TEXTURE_SIZE, &truth.maxTexture);
      truth.renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
      eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
      eglDestroyContext(display, context);
    }
    eglTerminate(display);
    return truth;
  }
  return std::nullopt;
}

// The depth lines a set of exact sizes must give, in the report's order.
Lines ExpectedDepthLines(const std::set<int>& render, const std::set<int>& z) {
  Lines lines;
  for (int bits : {8, 16, 24, 32}) {
    if (render.count(bits)) lines.push_back("     Supports rendering to " + std::to_string(bits) + " bit");
  }
  for (int bits : {8, 16, 24, 32}) {
    if (z.count(bits))
      lines.push_back(std::string("     Supports ") + (bits < 24 ? " " : "") + std::to_string(bits) + " bit z buffer");
  }
  if (std::none_of(z.begin(), z.end(), [](int b) { return b == 8 || b == 16 || b == 24 || b == 32; })) {
    lines.push_back("     no z buffer support");
  }
  return lines;
}

Lines DepthLinesOf(const Lines& device) {
  Lines lines;
  for (const std::string& line : device) {
    const bool depth = line.rfind("     Supports rendering to ", 0) == 0 ||
                       (line.rfind("     Supports ", 0) == 0 && line.find(" z buffer") != std::string::npos);
    if (depth || line == "     no z buffer support") lines.push_back(line);
  }
  return lines;
}

class SoftwareMachine : public ::testing::Test {
 protected:
  void SetUp() override {
    if (MachineHasGpu()) GTEST_SKIP() << "this machine has a GPU; these checks are for the software renderers";
    vulkan_ = AskVulkanCpuDevice();
    gl_ = AskEglSoftwareDevice();
    ASSERT_TRUE(vulkan_.has_value()) << "Mesa's lavapipe (mesa-vulkan-drivers) should be installed";
    ASSERT_TRUE(gl_.has_value()) << "Mesa's EGL software device should be there";
  }

  // The adapter's identity, memory and both 3-D devices, against the direct answers.
  void CheckAdapterAndDevices(const Lines& report) {
    EXPECT_TRUE(Contains(report, " Index         1")) << Joined(report);
    EXPECT_FALSE(Contains(report, " Index         2")) << "one software adapter\n" << Joined(report);
    EXPECT_TRUE(Contains(report, " Description  " + vulkan_->name)) << Joined(report);
    EXPECT_TRUE(Contains(report, " GUID         " + vulkan_->guid)) << Joined(report);

    const double totalMiB = static_cast<double>(vulkan_->largestLocalHeap) / 1024 / 1024;
    char total[64];
    std::snprintf(total, sizeof total, "   total video memory  %.15g mbyte", totalMiB);
    EXPECT_TRUE(Contains(report, total)) << "expected [" << total << "]\n" << Joined(report);
    const auto free = std::find_if(report.begin(), report.end(),
                                   [](const std::string& l) { return l.rfind("   free video memory  ", 0) == 0; });
    ASSERT_NE(free, report.end()) << Joined(report);
    const double freeMiB = std::strtod(free->c_str() + 22, nullptr);
    EXPECT_GT(freeMiB, 0) << *free;
    EXPECT_LE(freeMiB, totalMiB) << *free;

    const Lines gl = DeviceBlock(report, "OpenGL ");
    ASSERT_GE(gl.size(), 6u) << Joined(report);
    EXPECT_EQ(gl[0], BlockStartingAt(report, "   D3D devices")) << "the OpenGL device comes first";
    EXPECT_EQ(gl[1], "     Description " + gl_->renderer);
    ASSERT_GE(gl_->maxTexture, 1024);
    EXPECT_EQ(gl[4], "     Max Texture Height   " + std::to_string(gl_->maxTexture) + " Pixel");
    EXPECT_EQ(gl[5], "     Max Texture Width    " + std::to_string(gl_->maxTexture) + " Pixel");
    EXPECT_EQ(DepthLinesOf(gl), ExpectedDepthLines(gl_->bufferSizes, gl_->depthSizes)) << Joined(gl);

    const Lines vkDevice = DeviceBlock(report, "Vulkan ");
    ASSERT_GE(vkDevice.size(), 6u) << Joined(report);
    EXPECT_EQ(vkDevice[1], "     Description " + vulkan_->name);
    EXPECT_NE(vkDevice[0], gl[0]) << "each device has a GUID of its own";
    ASSERT_GE(vulkan_->maxImage2D, 1024u);
    EXPECT_EQ(vkDevice[4], "     Max Texture Height   " + std::to_string(vulkan_->maxImage2D) + " Pixel");
    EXPECT_EQ(vkDevice[5], "     Max Texture Width    " + std::to_string(vulkan_->maxImage2D) + " Pixel");
    EXPECT_EQ(DepthLinesOf(vkDevice), ExpectedDepthLines(vulkan_->renderBits, vulkan_->depthBits)) << Joined(vkDevice);
    for (const std::string& line : report) {
      EXPECT_EQ(line.find("IM triangles must be sorted"), std::string::npos) << line;
    }
  }

  std::optional<VulkanTruth> vulkan_;
  std::optional<GlTruth> gl_;
};

TEST_F(SoftwareMachine, HeadlessReportsOneSoftwareAdapterWithBothDevices) {
  const kovrin::test::ScopedVariable none("DISPLAY", nullptr);
  const Lines report = RealReport();
  CheckAdapterAndDevices(report);
  // Without a display nothing tells palette or gamma: neither line is written.
  for (const std::string& line : report) {
    EXPECT_EQ(line.find("palette"), std::string::npos) << Joined(report);
    EXPECT_EQ(line.find("gamma"), std::string::npos) << Joined(report);
  }
  if (!std::filesystem::exists("/sys/class/drm")) {
    EXPECT_EQ(report.back(), " Display Modes") << "no X and no kernel modes: no mode at all";
  }
}

TEST_F(SoftwareMachine, TheSameMachineGivesTheSameReportTwice) {
  const kovrin::test::ScopedVariable none("DISPLAY", nullptr);
  const auto provider = MakeLinuxProvider();
  const Lines first = BuildReport(*provider);
  const Lines again = BuildReport(*provider);
  const Lines fresh = RealReport();
  // Free memory moves with the machine; every other line stays.
  auto steady = [](Lines lines) {
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return l.rfind("   free video memory", 0) == 0; }),
                lines.end());
    return lines;
  };
  EXPECT_EQ(steady(first), steady(again));
  EXPECT_EQ(steady(first), steady(fresh));
}

TEST_F(SoftwareMachine, UnderXvfbTheServersOneModeIsListed) {
  const auto server = kovrin::test::XServer::StartXvfb("800x600x24");
  ASSERT_TRUE(server) << "Xvfb did not start";
  const kovrin::test::ScopedVariable display("DISPLAY", server->Display().c_str());
  const Lines report = RealReport();
  CheckAdapterAndDevices(report);
  EXPECT_TRUE(Contains(report, "   no hw palette support")) << "a true-colour screen\n" << Joined(report);
  EXPECT_TRUE(Contains(report, "   supports gamma correction")) << "Xvfb's CRTC takes a gamma ramp\n" << Joined(report);
  // Xvfb's mode has no timings: the rate is 0; depth 24 is stored in 32 bits.
  EXPECT_EQ(ModeLines(report), (Lines{"  Index           1", "  Width           800", "  Height          600",
                                      "  Bits Per Pixel  32", "  Refresh Rate    0", ""}))
      << Joined(report);
}

TEST_F(SoftwareMachine, AnEightBitXvfbScreenHasAPalette) {
  const auto server = kovrin::test::XServer::StartXvfb("640x480x8");
  ASSERT_TRUE(server) << "Xvfb did not start";
  const kovrin::test::ScopedVariable display("DISPLAY", server->Display().c_str());
  const Lines report = RealReport();
  const auto caps = std::find(report.begin(), report.end(), "  HW CAPS");
  ASSERT_NE(caps, report.end()) << Joined(report);
  const Lines palette(caps + 3, caps + 5);
  EXPECT_EQ(palette, (Lines{"   palette support 8bit ", "   palette support setting all 256 colors"}))
      << Joined(report);
  EXPECT_FALSE(Contains(report, "   no hw palette support"));
  EXPECT_TRUE(Contains(report, "  Bits Per Pixel  8")) << Joined(report);
}

TEST_F(SoftwareMachine, UnderXorgsDummyDriverRatesComeFromTheModeTimings) {
  KOVRIN_SKIP_WITHOUT_SHARED("x11/xorg-dummy.conf");
  const std::string config = kovrin::test::SharedPath("x11/xorg-dummy.conf").string();
  const auto server = kovrin::test::XServer::StartXorgDummy(config);
  if (!server) GTEST_SKIP() << "Xorg with the dummy driver did not start (needs root and xserver-xorg-video-dummy)";
  const kovrin::test::ScopedVariable display("DISPLAY", server->Display().c_str());
  const Lines modes = ModeLines(RealReport());
  // The configuration's own mode lines, each 60 Hz by its timings.
  for (const char* size : {"1600x1200", "1024x768", "800x600", "640x480"}) {
    const std::string width = std::string(size).substr(0, std::string(size).find('x'));
    const std::string height = std::string(size).substr(std::string(size).find('x') + 1);
    bool found = false;
    for (std::size_t i = 0; i + 4 < modes.size(); i += 6) {
      if (modes[i + 1] == "  Width           " + width && modes[i + 2] == "  Height          " + height &&
          modes[i + 4] == "  Refresh Rate    60") {
        found = true;
      }
    }
    EXPECT_TRUE(found) << size << " at 60 Hz missing in\n" << Joined(modes);
  }
  EXPECT_EQ(modes.at(1), "  Width           1600") << "the server's first mode comes first";
  for (std::size_t i = 4; i < modes.size(); i += 6) {
    const int rate = std::atoi(modes[i].c_str() + 17);
    EXPECT_GT(rate, 0) << modes[i];
    EXPECT_LT(rate, 200) << modes[i];
  }
}

}  // namespace
}  // namespace kovrin::sysinfo
