// The OpenGL devices of EGL's device platform: one per GPU render node, and
// Mesa's software renderer on a machine without one.
#pragma once

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <optional>
#include <string>
#include <vector>

#include "launcher/sysinfo/capability_rules.h"
#include "launcher/sysinfo/sysinfo_records.h"

namespace kovrin::sysinfo {

struct EglDeviceInfo {
  EGLDeviceEXT handle = EGL_NO_DEVICE_EXT;
  std::string drmFile;     // EGL_DRM_DEVICE_FILE_EXT; empty when the device has none
  std::string renderNode;  // EGL_DRM_RENDER_NODE_FILE_EXT; empty when none
  bool software = false;   // EGL_MESA_device_software
  std::string extensions;  // the device's extension string

  // What the device is known by: its render node, else its DRM file, else the
  // software renderer's extension name, else its extension string. The
  // device's GUID text is derived from this.
  std::string IdString() const;
};

// Every EGL device; empty when EGL has no device enumeration.
std::vector<EglDeviceInfo> ListEglDevices();

// Whether the device's display offers desktop OpenGL. PlatformError when the
// display cannot be initialised.
bool EglOffersOpenGL(const EglDeviceInfo& device);

struct GlFacts {
  std::string renderer;  // GL_RENDERER
  std::string version;   // GL_VERSION
  int maxTextureSize = 0;
  DepthWords depths;  // from every configuration at its exact sizes
};

// Creates an OpenGL context on the device and reads its limits; the thread's
// current context and API are put back afterwards. PlatformError on failure.
GlFacts QueryOpenGL(const EglDeviceInfo& device);

DeviceDesc DescribeOpenGL(const EglDeviceInfo& device, const GlFacts& facts);

}  // namespace kovrin::sysinfo
