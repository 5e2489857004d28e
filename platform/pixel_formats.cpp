#include "platform/pixel_formats.h"

#include <algorithm>
#include <cstdlib>

namespace kovrin::platform {

std::vector<FormatCandidate> CandidateFormats(int colorBits, int depthBits) {
  std::vector<FormatCandidate> all;
  for (const int depth : {32, 24, 16, 0}) {
    all.push_back({8, 8, 8, depth});
    all.push_back({5, 6, 5, depth});
  }
  // A 32-bit request means 8-8-8 colour plus padding, as on the desktop.
  const int wantedColour = colorBits > 24 ? 24 : colorBits;
  auto colourDistance = [&](const FormatCandidate& c) { return std::abs(c.red + c.green + c.blue - wantedColour); };
  auto distance = [&](const FormatCandidate& c) { return colourDistance(c) + std::abs(c.depth - depthBits); };
  // Candidates are listed deepest first, so the stable sort keeps the deeper
  // buffer ahead on a full tie.
  std::stable_sort(all.begin(), all.end(), [&](const FormatCandidate& a, const FormatCandidate& b) {
    if (distance(a) != distance(b)) return distance(a) < distance(b);
    return colourDistance(a) < colourDistance(b);
  });
  return all;
}

}  // namespace kovrin::platform
