// The formats the layer tries for a pixel-format request, closest first.
#pragma once

#include <vector>

namespace kovrin::platform {

struct FormatCandidate {
  int red, green, blue;
  int depth;
};

// Colour layouts 5-6-5 and 8-8-8 with depth buffers of 16, 24, 32 and 0 bits,
// ordered by distance from the requested colour and depth bits; on a tie the
// closer colour layout, then the deeper buffer, come first.
std::vector<FormatCandidate> CandidateFormats(int colorBits, int depthBits);

}  // namespace kovrin::platform
