// How the platform's raw facts become the report's figures and flag words.
// Plain functions over plain data, so every rule is tested without a device.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "launcher/sysinfo/sysinfo_records.h"

namespace kovrin::sysinfo {

// The bit-depth flag for an exact size of 8, 16, 24 or 32 bits; 0 otherwise.
std::uint32_t DepthBit(int bits);

// One framebuffer configuration as the GL driver lists it.
struct ConfigSizes {
  int bufferSize = 0;   // colour bits per pixel
  int depthSize = 0;    // z-buffer bits
  bool openGL = false;  // renderable with desktop OpenGL
  bool rgb = false;     // an RGB (not luminance) colour buffer
};

struct DepthWords {
  std::uint32_t render = 0;
  std::uint32_t zBuffer = 0;
};

// Render and z-buffer depths of the OpenGL-renderable RGB configurations,
// taken at their exact sizes.
DepthWords DepthWordsFromConfigs(const std::vector<ConfigSizes>& configs);

// One X visual of the display.
struct VisualSummary {
  int visualClass = 0;  // X visual class; 3 is PseudoColor
  int depth = 0;
  int colormapSize = 0;
};
inline constexpr int kPseudoColor = 3;

// Palette capabilities: only PseudoColor visuals have a loadable palette.
std::uint32_t PaletteCapsFromVisuals(const std::vector<VisualSummary>& visuals);

// Refresh rate in whole hertz from a mode's timings; 0 when the timings are
// missing (a virtual display reports none).
std::uint32_t RefreshRateHz(std::uint64_t dotClock, std::uint32_t hTotal, std::uint32_t vTotal, bool doubleScan,
                            bool interlace);

// A memory heap as the driver reports it, with its budget where known.
struct HeapFigures {
  std::uint64_t size = 0;
  std::optional<std::uint64_t> budget;
  std::optional<std::uint64_t> usage;
};

struct VideoMemory {
  std::optional<std::uint64_t> total;
  std::optional<std::uint64_t> free;
};

// Total = the largest device-local heap. Free = its budget less its usage where
// the driver has a budget; otherwise, for a device that shares system memory,
// the smaller of the heap and the memory available; otherwise unknown.
VideoMemory VideoMemoryFigures(const std::optional<HeapFigures>& heap, bool sharesSystemMemory,
                               std::optional<std::uint64_t> memAvailable);

// Texture placement capabilities from the memory types an image may live in
// (allowedTypeBits, one bit per type) and which of them are device-local.
std::uint32_t TextureMemoryCaps(std::uint32_t allowedTypeBits, const std::vector<bool>& typeIsDeviceLocal);

}  // namespace kovrin::sysinfo
