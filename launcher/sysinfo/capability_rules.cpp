#include "launcher/sysinfo/capability_rules.h"

#include <algorithm>
#include <cmath>

namespace kovrin::sysinfo {

std::uint32_t DepthBit(int bits) {
  switch (bits) {
    case 8:
      return kDepth8;
    case 16:
      return kDepth16;
    case 24:
      return kDepth24;
    case 32:
      return kDepth32;
    default:
      return 0;
  }
}

DepthWords DepthWordsFromConfigs(const std::vector<ConfigSizes>& configs) {
  DepthWords words;
  for (const ConfigSizes& config : configs) {
    if (!config.openGL || !config.rgb) {
      continue;
    }
    words.render |= DepthBit(config.bufferSize);
    words.zBuffer |= DepthBit(config.depthSize);
  }
  return words;
}

std::uint32_t PaletteCapsFromVisuals(const std::vector<VisualSummary>& visuals) {
  std::uint32_t caps = 0;
  for (const VisualSummary& visual : visuals) {
    if (visual.visualClass != kPseudoColor) {
      continue;
    }
    if (visual.depth == 1) {
      caps |= kPalCaps1Bit;
    } else if (visual.depth == 2) {
      caps |= kPalCaps2Bit;
    } else if (visual.depth == 8) {
      caps |= kPalCaps8Bit;
      if (visual.colormapSize >= 256) {
        caps |= kPalCapsAllow256;
      }
    }
  }
  return caps;
}

std::uint32_t RefreshRateHz(std::uint64_t dotClock, std::uint32_t hTotal, std::uint32_t vTotal, bool doubleScan,
                            bool interlace) {
  double lines = vTotal;
  if (doubleScan) {
    lines *= 2;
  }
  if (interlace) {
    lines /= 2;
  }
  if (dotClock == 0 || hTotal == 0 || lines <= 0) {
    return 0;
  }
  return static_cast<std::uint32_t>(std::lround(static_cast<double>(dotClock) / (hTotal * lines)));
}

VideoMemory VideoMemoryFigures(const std::optional<HeapFigures>& heap, bool sharesSystemMemory,
                               std::optional<std::uint64_t> memAvailable) {
  VideoMemory memory;
  if (!heap) {
    return memory;
  }
  memory.total = heap->size;
  if (heap->budget) {
    const std::uint64_t used = heap->usage.value_or(0);
    memory.free = *heap->budget > used ? *heap->budget - used : 0;
  } else if (sharesSystemMemory && memAvailable) {
    memory.free = std::min(heap->size, *memAvailable);
  }
  return memory;
}

std::uint32_t TextureMemoryCaps(std::uint32_t allowedTypeBits, const std::vector<bool>& typeIsDeviceLocal) {
  std::uint32_t caps = 0;
  for (std::size_t i = 0; i < typeIsDeviceLocal.size() && i < 32; ++i) {
    if ((allowedTypeBits >> i) & 1u) {
      caps |= typeIsDeviceLocal[i] ? kDevCapsTextureVideoMemory : kDevCapsTextureNonLocalVidMem;
    }
  }
  return caps;
}

}  // namespace kovrin::sysinfo
