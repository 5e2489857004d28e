// The X screen's mode through XRandR 1.2 (CRTCs), which is what SDL changes.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include "launcher/desktop/desktop_mode.h"

namespace kovrin::desktop {
namespace {

// Xlib's default error handler ends the process; a refused change is only
// a failure to report.
int g_xError = 0;

int NoteXError(Display*, XErrorEvent* event) {
  if (g_xError == 0) g_xError = event->error_code;
  return 0;
}

class Connection {
 public:
  Connection() : display_(XOpenDisplay(nullptr)) {
    if (display_ == nullptr) return;
    g_xError = 0;
    previous_ = XSetErrorHandler(NoteXError);
    int event = 0, error = 0, major = 0, minor = 0;
    randr_ = XRRQueryExtension(display_, &event, &error) && XRRQueryVersion(display_, &major, &minor) &&
             (major > 1 || (major == 1 && minor >= 2));
  }
  ~Connection() {
    if (display_ == nullptr) return;
    XSync(display_, False);
    XSetErrorHandler(previous_);
    XCloseDisplay(display_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  Display* get() const { return randr_ ? display_ : nullptr; }
  bool Failed() const {
    XSync(display_, False);
    return g_xError != 0;
  }

 private:
  Display* display_;
  XErrorHandler previous_ = nullptr;
  bool randr_ = false;
};

using Resources = std::unique_ptr<XRRScreenResources, decltype(&XRRFreeScreenResources)>;

Resources ScreenResources(Display* display) {
  return Resources(XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display)), &XRRFreeScreenResources);
}

std::optional<CrtcSetting> ReadCrtc(Display* display, XRRScreenResources* resources, RRCrtc crtc) {
  XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources, crtc);
  if (info == nullptr) return std::nullopt;
  CrtcSetting setting;
  setting.crtc = crtc;
  setting.mode = info->mode;
  setting.x = info->x;
  setting.y = info->y;
  setting.rotation = info->rotation;
  setting.outputs.assign(info->outputs, info->outputs + info->noutput);
  setting.width = info->width;
  setting.height = info->height;
  XRRFreeCrtcInfo(info);
  return setting;
}

Status Apply(Display* display, XRRScreenResources* resources, const CrtcSetting& setting) {
  std::vector<RROutput> outputs(setting.outputs.begin(), setting.outputs.end());
  return XRRSetCrtcConfig(display, resources, setting.crtc, CurrentTime, setting.x, setting.y, setting.mode,
                          static_cast<Rotation>(setting.rotation), outputs.empty() ? nullptr : outputs.data(),
                          static_cast<int>(outputs.size()));
}

class XrandrSource final : public ModeSource {
 public:
  std::optional<ScreenMode> Current() override {
    Connection connection;
    Display* display = connection.get();
    if (display == nullptr) return std::nullopt;
    const Resources resources = ScreenResources(display);
    if (!resources) return std::nullopt;
    ScreenMode mode;
    const int screen = DefaultScreen(display);
    mode.width = DisplayWidth(display, screen);
    mode.height = DisplayHeight(display, screen);
    mode.widthMm = DisplayWidthMM(display, screen);
    mode.heightMm = DisplayHeightMM(display, screen);
    for (int i = 0; i < resources->ncrtc; ++i) {
      const std::optional<CrtcSetting> crtc = ReadCrtc(display, resources.get(), resources->crtcs[i]);
      if (!crtc) return std::nullopt;
      mode.crtcs.push_back(*crtc);
    }
    if (connection.Failed()) return std::nullopt;
    return mode;
  }

  // As xrandr does it: CRTCs that change are turned off, the screen gets its
  // size, then the CRTCs their modes, all under one server grab.
  bool Restore(const ScreenMode& wanted) override {
    Connection connection;
    Display* display = connection.get();
    if (display == nullptr) return false;
    const Resources resources = ScreenResources(display);
    if (!resources) return false;
    std::vector<CrtcSetting> changed;
    for (const CrtcSetting& crtc : wanted.crtcs) {
      const std::optional<CrtcSetting> now = ReadCrtc(display, resources.get(), crtc.crtc);
      if (now && !(*now == crtc)) changed.push_back(crtc);
    }
    bool applied = true;
    XGrabServer(display);
    for (const CrtcSetting& crtc : changed) {
      CrtcSetting off = crtc;
      off.mode = 0;
      off.x = off.y = 0;
      off.rotation = RR_Rotate_0;
      off.outputs.clear();
      applied = Apply(display, resources.get(), off) == RRSetConfigSuccess && applied;
    }
    const int screen = DefaultScreen(display);
    if (DisplayWidth(display, screen) != wanted.width || DisplayHeight(display, screen) != wanted.height) {
      XRRSetScreenSize(display, DefaultRootWindow(display), wanted.width, wanted.height, wanted.widthMm,
                       wanted.heightMm);
    }
    for (const CrtcSetting& crtc : changed) {
      if (crtc.mode != 0) applied = Apply(display, resources.get(), crtc) == RRSetConfigSuccess && applied;
    }
    XUngrabServer(display);
    return !connection.Failed() && applied;
  }
};

}  // namespace

std::unique_ptr<ModeSource> XrandrModeSource() { return std::make_unique<XrandrSource>(); }

}  // namespace kovrin::desktop
