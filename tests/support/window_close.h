// Closes a test program's window the way a window manager's close button
// does: the WM_DELETE_WINDOW request of the X11 protocol, sent to the
// process's top-level windows on a display.
#pragma once

#include <sys/types.h>
#include <string>

namespace kovrin::test {

// True when a window of process `pid` on `display` was asked to close.
bool RequestWindowClose(const std::string& display, pid_t pid);

}  // namespace kovrin::test
