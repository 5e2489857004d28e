#include "launcher/sysinfo/x11_source.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <memory>
#include <set>
#include <string>

#include "launcher/sysinfo/capability_rules.h"
#include "launcher/sysinfo/platform_error.h"

namespace kovrin::sysinfo {
namespace {

// Xlib's default error handler ends the process; the report turns the first
// error of a query into a PlatformError instead.
int g_firstXError = 0;

int RecordXError(Display*, XErrorEvent* event) {
  if (g_firstXError == 0) {
    g_firstXError = event->error_code;
  }
  return 0;
}

class XConnection {
 public:
  XConnection() : display_(XOpenDisplay(nullptr)) {
    if (display_) {
      g_firstXError = 0;
      previous_ = XSetErrorHandler(RecordXError);
    }
  }
  ~XConnection() {
    if (display_) {
      XSetErrorHandler(previous_);
      XCloseDisplay(display_);
    }
  }
  XConnection(const XConnection&) = delete;
  XConnection& operator=(const XConnection&) = delete;

  Display* get() const { return display_; }
  void ThrowOnError(const char* what) const {
    XSync(display_, False);
    if (g_firstXError != 0) {
      throw PlatformError(g_firstXError, std::string(what) + " failed with X error " + std::to_string(g_firstXError));
    }
  }

 private:
  Display* display_;
  XErrorHandler previous_ = nullptr;
};

std::uint32_t PaletteCaps(Display* display, int screen) {
  XVisualInfo pattern{};
  pattern.screen = screen;
  int count = 0;
  XVisualInfo* visuals = XGetVisualInfo(display, VisualScreenMask, &pattern, &count);
  std::vector<VisualSummary> summaries;
  for (int i = 0; i < count; ++i) {
    summaries.push_back({visuals[i].c_class, visuals[i].depth, visuals[i].colormap_size});
  }
  if (visuals) {
    XFree(visuals);
  }
  return PaletteCapsFromVisuals(summaries);
}

std::optional<std::uint32_t> BitsPerPixel(Display* display, int screen) {
  const int depth = DefaultDepth(display, screen);
  int count = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
  std::optional<std::uint32_t> bits;
  for (int i = 0; i < count; ++i) {
    if (formats[i].depth == depth) {
      bits = static_cast<std::uint32_t>(formats[i].bits_per_pixel);
    }
  }
  if (formats) {
    XFree(formats);
  }
  return bits;
}

bool HasRandr12(Display* display) {
  int eventBase = 0;
  int errorBase = 0;
  int major = 0;
  int minor = 0;
  return XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor) &&
         (major > 1 || (major == 1 && minor >= 2));
}

struct ResourcesDeleter {
  void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
};

// The modes the screen's outputs can show, once each, in the server's order.
void ReadRandr(const XConnection& x, int screen, XScreenFacts& facts, std::optional<std::uint32_t> bits) {
  Display* display = x.get();
  const std::unique_ptr<XRRScreenResources, ResourcesDeleter> resources(
      XRRGetScreenResources(display, RootWindow(display, screen)));
  x.ThrowOnError("XRRGetScreenResources");
  if (!resources) {
    throw PlatformError(0, "XRRGetScreenResources gave no resources");
  }
  std::set<RRMode> shown;
  for (int i = 0; i < resources->noutput; ++i) {
    XRROutputInfo* output = XRRGetOutputInfo(display, resources.get(), resources->outputs[i]);
    x.ThrowOnError("XRRGetOutputInfo");
    if (output) {
      shown.insert(output->modes, output->modes + output->nmode);
      XRRFreeOutputInfo(output);
    }
  }
  for (int i = 0; i < resources->nmode; ++i) {
    const XRRModeInfo& info = resources->modes[i];
    if (!shown.count(info.id)) {
      continue;
    }
    DisplayMode mode;
    mode.width = info.width;
    mode.height = info.height;
    mode.bitsPerPixel = bits;
    mode.refreshRate = RefreshRateHz(info.dotClock, info.hTotal, info.vTotal, (info.modeFlags & RR_DoubleScan) != 0,
                                     (info.modeFlags & RR_Interlace) != 0);
    facts.modes.push_back(mode);
  }
  facts.gammaRamps = false;
  for (int i = 0; i < resources->ncrtc; ++i) {
    if (XRRGetCrtcGammaSize(display, resources->crtcs[i]) > 0) {
      facts.gammaRamps = true;
    }
  }
  x.ThrowOnError("XRRGetCrtcGammaSize");
}

}  // namespace

std::optional<XScreenFacts> ReadXScreen() {
  const XConnection x;
  if (!x.get()) {
    return std::nullopt;
  }
  Display* display = x.get();
  const int screen = DefaultScreen(display);
  XScreenFacts facts;
  facts.palCaps = PaletteCaps(display, screen);
  const std::optional<std::uint32_t> bits = BitsPerPixel(display, screen);
  if (HasRandr12(display)) {
    ReadRandr(x, screen, facts, bits);
  } else {
    DisplayMode mode;
    mode.width = static_cast<std::uint32_t>(DisplayWidth(display, screen));
    mode.height = static_cast<std::uint32_t>(DisplayHeight(display, screen));
    mode.bitsPerPixel = bits;
    facts.modes.push_back(mode);
  }
  x.ThrowOnError("reading the X screen");
  return facts;
}

}  // namespace kovrin::sysinfo
