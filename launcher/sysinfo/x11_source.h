// The X display named by DISPLAY: its screen's modes, palette and gamma.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "launcher/sysinfo/sysinfo_records.h"

namespace kovrin::sysinfo {

struct XScreenFacts {
  // XRandR's modes of the screen's outputs, in the server's order; without
  // XRandR 1.2, the screen's own size.
  std::vector<DisplayMode> modes;
  std::uint32_t palCaps = 0;       // from the screen's PseudoColor visuals
  std::optional<bool> gammaRamps;  // a CRTC takes a gamma ramp (size > 0); unasked without XRandR 1.2
};

// nullopt when no X display can be reached. An X request that fails throws
// PlatformError with the X error code.
std::optional<XScreenFacts> ReadXScreen();

}  // namespace kovrin::sysinfo
