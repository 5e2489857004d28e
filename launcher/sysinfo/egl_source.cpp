#include "launcher/sysinfo/egl_source.h"

#include <GL/gl.h>

#include <cstdio>
#include <string_view>

#include "launcher/sysinfo/guid_text.h"
#include "launcher/sysinfo/platform_error.h"

namespace kovrin::sysinfo {
namespace {

constexpr std::string_view kSoftwareExtension = "EGL_MESA_device_software";

bool HasWord(const char* list, std::string_view word) {
  std::string_view text = list ? list : "";
  while (!text.empty()) {
    const std::size_t space = text.find(' ');
    if (text.substr(0, space) == word) {
      return true;
    }
    text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
  }
  return false;
}

[[noreturn]] void ThrowEgl(const char* call) {
  const EGLint error = eglGetError();
  char code[16];
  std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(error));
  throw PlatformError(error, std::string(call) + " failed with EGL error " + code);
}

template <typename Proc>
Proc Load(const char* name) {
  return reinterpret_cast<Proc>(eglGetProcAddress(name));
}

std::string DeviceString(PFNEGLQUERYDEVICESTRINGEXTPROC query, EGLDeviceEXT device, EGLint name) {
  const char* text = query(device, name);
  eglGetError();  // a device without the string sets EGL_BAD_PARAMETER; that is an answer
  return text ? text : "";
}

// An initialised device display for the span of one query.
class DeviceDisplay {
 public:
  explicit DeviceDisplay(const EglDeviceInfo& device) {
    const auto getDisplay = Load<PFNEGLGETPLATFORMDISPLAYEXTPROC>("eglGetPlatformDisplayEXT");
    if (!getDisplay) {
      throw PlatformError(EGL_BAD_ACCESS, "eglGetPlatformDisplayEXT is missing");
    }
    display_ = getDisplay(EGL_PLATFORM_DEVICE_EXT, device.handle, nullptr);
    if (display_ == EGL_NO_DISPLAY) {
      ThrowEgl("eglGetPlatformDisplayEXT");
    }
    if (!eglInitialize(display_, nullptr, nullptr)) {
      ThrowEgl("eglInitialize");
    }
  }
  ~DeviceDisplay() { eglTerminate(display_); }
  DeviceDisplay(const DeviceDisplay&) = delete;
  DeviceDisplay& operator=(const DeviceDisplay&) = delete;

  EGLDisplay get() const { return display_; }
  bool Has(std::string_view extension) const { return HasWord(eglQueryString(display_, EGL_EXTENSIONS), extension); }

 private:
  EGLDisplay display_ = EGL_NO_DISPLAY;
};

// Puts the thread's EGL API and current context back as they were.
class CurrentContextGuard {
 public:
  CurrentContextGuard()
      : api_(eglQueryAPI()),
        display_(eglGetCurrentDisplay()),
        draw_(eglGetCurrentSurface(EGL_DRAW)),
        read_(eglGetCurrentSurface(EGL_READ)),
        context_(eglGetCurrentContext()) {}
  ~CurrentContextGuard() {
    if (display_ != EGL_NO_DISPLAY) {
      eglMakeCurrent(display_, draw_, read_, context_);
    }
    eglBindAPI(api_);
  }
  CurrentContextGuard(const CurrentContextGuard&) = delete;
  CurrentContextGuard& operator=(const CurrentContextGuard&) = delete;

 private:
  EGLenum api_;
  EGLDisplay display_;
  EGLSurface draw_;
  EGLSurface read_;
  EGLContext context_;
};

EGLint Attribute(EGLDisplay display, EGLConfig config, EGLint name) {
  EGLint value = 0;
  if (!eglGetConfigAttrib(display, config, name, &value)) {
    ThrowEgl("eglGetConfigAttrib");
  }
  return value;
}

// Every configuration as the driver lists it. eglChooseConfig is no use
// here: it treats sizes as minimums and would credit 24-bit z to a 32-bit one.
std::vector<ConfigSizes> AllConfigs(EGLDisplay display) {
  EGLint count = 0;
  if (!eglGetConfigs(display, nullptr, 0, &count)) {
    ThrowEgl("eglGetConfigs");
  }
  std::vector<EGLConfig> configs(static_cast<std::size_t>(count));
  if (!eglGetConfigs(display, configs.data(), count, &count)) {
    ThrowEgl("eglGetConfigs");
  }
  std::vector<ConfigSizes> sizes;
  for (EGLint i = 0; i < count; ++i) {
    const EGLConfig config = configs[static_cast<std::size_t>(i)];
    ConfigSizes entry;
    entry.bufferSize = Attribute(display, config, EGL_BUFFER_SIZE);
    entry.depthSize = Attribute(display, config, EGL_DEPTH_SIZE);
    entry.openGL = (Attribute(display, config, EGL_RENDERABLE_TYPE) & EGL_OPENGL_BIT) != 0;
    entry.rgb = Attribute(display, config, EGL_COLOR_BUFFER_TYPE) == EGL_RGB_BUFFER;
    sizes.push_back(entry);
  }
  return sizes;
}

EGLConfig AnyOpenGLConfig(EGLDisplay display) {
  const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (!eglChooseConfig(display, wanted, &config, 1, &count) || count < 1) {
    ThrowEgl("eglChooseConfig");
  }
  return config;
}

std::string GlString(GLenum name) {
  const GLubyte* text = glGetString(name);
  return text ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

std::string EglDeviceInfo::IdString() const {
  if (!renderNode.empty()) {
    return renderNode;
  }
  if (!drmFile.empty()) {
    return drmFile;
  }
  return software ? std::string(kSoftwareExtension) : extensions;
}

std::vector<EglDeviceInfo> ListEglDevices() {
  const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  eglGetError();  // EGL 1.4 without client extensions answers with EGL_BAD_DISPLAY
  if (!HasWord(clientExtensions, "EGL_EXT_device_enumeration") ||
      !HasWord(clientExtensions, "EGL_EXT_platform_device")) {
    return {};
  }
  const auto queryDevices = Load<PFNEGLQUERYDEVICESEXTPROC>("eglQueryDevicesEXT");
  const auto queryString = Load<PFNEGLQUERYDEVICESTRINGEXTPROC>("eglQueryDeviceStringEXT");
  if (!queryDevices || !queryString) {
    return {};
  }
  EGLint count = 0;
  if (!queryDevices(0, nullptr, &count)) {
    ThrowEgl("eglQueryDevicesEXT");
  }
  std::vector<EGLDeviceEXT> handles(static_cast<std::size_t>(count));
  if (count > 0 && !queryDevices(count, handles.data(), &count)) {
    ThrowEgl("eglQueryDevicesEXT");
  }
  std::vector<EglDeviceInfo> devices;
  for (EGLint i = 0; i < count; ++i) {
    EglDeviceInfo info;
    info.handle = handles[static_cast<std::size_t>(i)];
    info.extensions = DeviceString(queryString, info.handle, EGL_EXTENSIONS);
    info.software = HasWord(info.extensions.c_str(), kSoftwareExtension);
    if (HasWord(info.extensions.c_str(), "EGL_EXT_device_drm")) {
      info.drmFile = DeviceString(queryString, info.handle, EGL_DRM_DEVICE_FILE_EXT);
    }
    if (HasWord(info.extensions.c_str(), "EGL_EXT_device_drm_render_node")) {
      info.renderNode = DeviceString(queryString, info.handle, EGL_DRM_RENDER_NODE_FILE_EXT);
    }
    devices.push_back(info);
  }
  return devices;
}

bool EglOffersOpenGL(const EglDeviceInfo& device) {
  const DeviceDisplay display(device);
  return HasWord(eglQueryString(display.get(), EGL_CLIENT_APIS), "OpenGL");
}

GlFacts QueryOpenGL(const EglDeviceInfo& device) {
  const CurrentContextGuard guard;
  const DeviceDisplay display(device);
  GlFacts facts;
  facts.depths = DepthWordsFromConfigs(AllConfigs(display.get()));

  if (!eglBindAPI(EGL_OPENGL_API)) {
    ThrowEgl("eglBindAPI");
  }
  const bool configless = display.Has("EGL_KHR_no_config_context");
  const bool surfaceless = display.Has("EGL_KHR_surfaceless_context");
  const EGLConfig config = configless && surfaceless ? EGL_NO_CONFIG_KHR : AnyOpenGLConfig(display.get());
  const EGLContext context = eglCreateContext(display.get(), config, EGL_NO_CONTEXT, nullptr);
  if (context == EGL_NO_CONTEXT) {
    ThrowEgl("eglCreateContext");
  }
  EGLSurface surface = EGL_NO_SURFACE;
  if (!surfaceless) {
    const EGLint size[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
    surface = eglCreatePbufferSurface(display.get(), config, size);
  }
  if ((!surfaceless && surface == EGL_NO_SURFACE) || !eglMakeCurrent(display.get(), surface, surface, context)) {
    const EGLint error = eglGetError();
    eglDestroyContext(display.get(), context);
    throw PlatformError(error, "eglMakeCurrent on the device display failed");
  }
  GLint maxTexture = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
  facts.maxTextureSize = maxTexture;
  facts.renderer = GlString(GL_RENDERER);
  facts.version = GlString(GL_VERSION);
  eglMakeCurrent(display.get(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (surface != EGL_NO_SURFACE) {
    eglDestroySurface(display.get(), surface);
  }
  eglDestroyContext(display.get(), context);
  return facts;
}

DeviceDesc DescribeOpenGL(const EglDeviceInfo& device, const GlFacts& facts) {
  DeviceDesc desc;
  desc.guid = FormatGuid(UuidFromName("egl:" + device.IdString()));
  desc.description = facts.renderer;
  desc.name = "OpenGL " + facts.version;
  desc.maxTextureWidth = static_cast<std::uint32_t>(facts.maxTextureSize);
  desc.maxTextureHeight = static_cast<std::uint32_t>(facts.maxTextureSize);
  desc.renderBitDepth = facts.depths.render;
  desc.zBufferBitDepth = facts.depths.zBuffer;
  // OpenGL does not say where a texture lives, so neither placement is claimed.
  desc.devCaps = 0;
  return desc;
}

}  // namespace kovrin::sysinfo
