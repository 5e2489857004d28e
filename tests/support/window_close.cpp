#include "tests/support/window_close.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace kovrin::test {
namespace {

// _NET_WM_PID as SDL sets it on its windows; 0 when absent.
long WindowPid(Display* display, Window window, Atom pidAtom) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  long pid = 0;
  if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) ==
          Success &&
      data != nullptr) {
    if (type == XA_CARDINAL && format == 32 && count == 1) pid = *reinterpret_cast<long*>(data);
    XFree(data);
  }
  return pid;
}

}  // namespace

bool RequestWindowClose(const std::string& displayName, pid_t pid) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (display == nullptr) return false;
  const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
  const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
  const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  bool sent = false;
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) != 0) {
    for (unsigned int i = 0; i < count; ++i) {
      XWindowAttributes attributes{};
      if (WindowPid(display, children[i], pidAtom) != pid) continue;
      if (XGetWindowAttributes(display, children[i], &attributes) == 0 || attributes.map_state != IsViewable) continue;
      XEvent event{};
      event.xclient.type = ClientMessage;
      event.xclient.window = children[i];
      event.xclient.message_type = protocols;
      event.xclient.format = 32;
      event.xclient.data.l[0] = static_cast<long>(deleteWindow);
      event.xclient.data.l[1] = CurrentTime;
      sent = XSendEvent(display, children[i], False, NoEventMask, &event) != 0 || sent;
    }
    if (children != nullptr) XFree(children);
  }
  XCloseDisplay(display);
  return sent;
}

}  // namespace kovrin::test
