// texture002: a green circuit board with gold pads and black chips.
#include "tools/assets/materials.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/assets/noise.h"
#include "tools/assets/portable_math.h"
#include "tools/assets/surface.h"

namespace kovrin::assets {

namespace {

constexpr int kSize = kMaterialSize;

// Traces run between the nodes of a grid with this spacing, in pixels.
constexpr int kPitch = 8;
constexpr int kNodes = kSize / kPitch;

struct Node {
  int x;
  int y;
};

struct Chip {
  int x0, y0, w, h;  // in nodes
};

// Fixed so the board has a composed look rather than a random one.
constexpr Chip kChips[] = {{3, 4, 9, 4}, {18, 17, 8, 5}, {21, 3, 5, 5}};

constexpr Node kDirections[8] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};

int WrapNode(int n) { return ((n % kNodes) + kNodes) % kNodes; }

// Grid of nodes already taken by a trace or a chip.
class Occupancy {
 public:
  bool Taken(Node n) const { return taken_[Index(WrapNode(n.x), WrapNode(n.y), kNodes)]; }
  void Take(Node n) { taken_[Index(WrapNode(n.x), WrapNode(n.y), kNodes)] = true; }

 private:
  std::vector<bool> taken_ = std::vector<bool>(static_cast<size_t>(kNodes) * kNodes, false);
};

struct Trace {
  std::vector<Node> nodes;  // unwrapped: consecutive nodes are neighbours
  bool fromPin = false;     // starts at a chip pin, so it needs no pad there
};

bool CanStep(const Occupancy& grid, Node from, int dir) {
  const Node d = kDirections[dir];
  const Node to{from.x + d.x, from.y + d.y};
  if (grid.Taken(to)) {
    return false;
  }
  // A diagonal step may not cut between two taken nodes (another trace's
  // diagonal would cross it).
  return d.x == 0 || d.y == 0 || !(grid.Taken({from.x + d.x, from.y}) && grid.Taken({from.x, from.y + d.y}));
}

// Walks from start mostly straight ahead, bending by 45 degrees now and
// then, until blocked or long enough. A trace leaving a pin runs straight
// for its first steps, clear of the chip's outline.
Trace Walk(Occupancy& grid, Rng& rng, Node start, int dir, bool fromPin) {
  Trace trace{{start}, fromPin};
  grid.Take(start);
  const int length = rng.Range(4, 16);
  const int straight = fromPin ? 2 : 0;
  for (int step = 0; step < length; ++step) {
    if (step >= straight && rng.Unit() < 0.22) {
      dir = (dir + (rng.Unit() < 0.5 ? 1 : 7)) % 8;
    }
    if (!CanStep(grid, trace.nodes.back(), dir)) {
      if (step < straight) {
        break;
      }
      const int other = (dir + (rng.Unit() < 0.5 ? 1 : 7)) % 8;
      if (!CanStep(grid, trace.nodes.back(), other)) {
        break;
      }
      dir = other;
    }
    const Node d = kDirections[dir];
    const Node next{trace.nodes.back().x + d.x, trace.nodes.back().y + d.y};
    grid.Take(next);
    trace.nodes.push_back(next);
  }
  return trace;
}

std::vector<Trace> LayOutTraces(Occupancy& grid) {
  Rng rng(0xB0A2D);
  for (const Chip& chip : kChips) {
    for (int y = chip.y0; y < chip.y0 + chip.h; ++y) {
      for (int x = chip.x0 - 1; x <= chip.x0 + chip.w; ++x) {
        grid.Take({x, y});
      }
    }
  }
  std::vector<Trace> traces;
  for (const Chip& chip : kChips) {
    for (int x = chip.x0; x < chip.x0 + chip.w; ++x) {
      if (rng.Unit() < 0.8) {
        traces.push_back(Walk(grid, rng, {x, chip.y0 - 1}, 6, true));
      }
      if (rng.Unit() < 0.8) {
        traces.push_back(Walk(grid, rng, {x, chip.y0 + chip.h}, 2, true));
      }
      // A pin whose trace is blocked at once stays unconnected.
      std::erase_if(traces, [](const Trace& t) { return t.nodes.size() < 3; });
    }
  }
  for (int attempt = 0; attempt < 90; ++attempt) {
    const Node start{rng.Range(0, kNodes - 1), rng.Range(0, kNodes - 1)};
    if (grid.Taken(start)) {
      continue;
    }
    Trace t = Walk(grid, rng, start, rng.Range(0, 7), false);
    if (t.nodes.size() >= 3) {
      traces.push_back(std::move(t));
    }
  }
  return traces;
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double vx = bx - ax;
  const double vy = by - ay;
  const double t = std::clamp(((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
  return Length(px - ax - t * vx, py - ay - t * vy);
}

// A distance field over the picture that shapes are stamped into; the
// picture wraps, so a shape leaving one edge re-enters at the other.
class DistanceField {
 public:
  DistanceField() : d_(static_cast<size_t>(kSize) * kSize, 1e9) {}
  double At(int x, int y) const { return d_[Index(x, y, kSize)]; }

  template <typename Fn>
  void Stamp(double minX, double minY, double maxX, double maxY, Fn distance) {
    for (int y = static_cast<int>(std::floor(minY)); y <= static_cast<int>(std::ceil(maxY)); ++y) {
      for (int x = static_cast<int>(std::floor(minX)); x <= static_cast<int>(std::ceil(maxX)); ++x) {
        double& cell = d_[Index(((x % kSize) + kSize) % kSize, ((y % kSize) + kSize) % kSize, kSize)];
        cell = std::min(cell, distance(x + 0.5, y + 0.5));
      }
    }
  }

 private:
  std::vector<double> d_;
};

double NodeCentre(int n) { return n * kPitch + kPitch / 2.0; }

struct BoardLayers {
  DistanceField traces;
  DistanceField pads;
};

BoardLayers StampTraces(const std::vector<Trace>& traces) {
  BoardLayers layers;
  constexpr double kReach = 6.0;
  for (const Trace& t : traces) {
    for (size_t i = 0; i + 1 < t.nodes.size(); ++i) {
      const double ax = NodeCentre(t.nodes[i].x), ay = NodeCentre(t.nodes[i].y);
      const double bx = NodeCentre(t.nodes[i + 1].x), by = NodeCentre(t.nodes[i + 1].y);
      layers.traces.Stamp(std::min(ax, bx) - kReach, std::min(ay, by) - kReach, std::max(ax, bx) + kReach,
                          std::max(ay, by) + kReach,
                          [&](double px, double py) { return SegmentDistance(px, py, ax, ay, bx, by); });
    }
    std::vector<Node> ends{t.nodes.back()};
    if (!t.fromPin) {
      ends.push_back(t.nodes.front());
    }
    for (const Node& n : ends) {
      const double cx = NodeCentre(n.x), cy = NodeCentre(n.y);
      layers.pads.Stamp(cx - kReach, cy - kReach, cx + kReach, cy + kReach,
                        [&](double px, double py) { return Length(px - cx, py - cy); });
    }
  }
  return layers;
}

struct BoardSample {
  double height;
  Color albedo;
  double gloss;
};

// Fills `s` with the chip body, a pin or the white outline printed around
// a chip; false where (px, py) shows none of them.
bool ChipAt(double px, double py, BoardSample& s) {
  for (const Chip& c : kChips) {
    const double left = c.x0 * kPitch + 1.0, right = (c.x0 + c.w) * kPitch - 1.0;
    const double top = c.y0 * kPitch + 1.0, bottom = (c.y0 + c.h) * kPitch - 1.0;
    const double inside = std::min(std::min(px - left, right - px), std::min(py - top, bottom - py));
    if (inside > 0.0) {
      const double bevel = Smoothstep(0.0, 3.0, inside);
      const double dot = Length(px - left - 6.0, py - top - 6.0);
      s.height = 1.2 + bevel - 0.3 * Smoothstep(2.5, 1.5, dot);
      s.albedo =
          Color{0.07, 0.07, 0.08} * (0.9 + 0.1 * HashUnit(static_cast<uint32_t>(px), static_cast<uint32_t>(py), 3));
      s.gloss = 0.35;
      return true;
    }
    const double pinX = px - std::floor(px / kPitch) * kPitch;  // position within the node column
    const bool pinColumn = px > left && px < right && pinX > 2.0 && pinX < 6.0;
    if (pinColumn && ((py > top - 5.0 && py <= top) || (py >= bottom && py < bottom + 5.0))) {
      s.height = 0.7;
      s.albedo = Color{0.78, 0.78, 0.80};
      s.gloss = 1.0;
      return true;
    }
    const double ring =
        std::min(std::min(px - (left - 7.0), (right + 7.0) - px), std::min(py - (top - 8.0), (bottom + 8.0) - py));
    if (ring > -1.0 && ring < 1.0 && (py < top - 6.0 || py > bottom + 6.0 || px < left - 4.0 || px > right + 4.0)) {
      s.height = 0.1;
      s.albedo = Color{0.85, 0.88, 0.82} * (1.0 - std::abs(ring) * 0.5);
      s.gloss = 0.1;
      return true;
    }
  }
  return false;
}

BoardSample BoardAt(int x, int y, const BoardLayers& layers) {
  const double px = x + 0.5, py = y + 0.5;
  BoardSample s;
  if (ChipAt(px, py, s)) {
    return s;
  }
  const double u = px / kSize, v = py / kSize;
  const double weave = 0.5 + 0.5 * Sin(px * kPi / 2.0) * Sin(py * kPi / 2.0);
  const Color mask = Color{0.05, 0.27, 0.14} * (0.8 + 0.25 * Fbm(u, v, 4, 4, 71) + 0.06 * weave);
  const double trace = Smoothstep(2.2, 1.2, layers.traces.At(x, y));
  const double padDistance = layers.pads.At(x, y);
  const double pad = Smoothstep(3.9, 3.1, padDistance);
  const double hole = Smoothstep(1.7, 1.1, padDistance);
  const Color copper = Color{0.16, 0.56, 0.27};  // copper seen through the green mask
  const Color gold = Color{0.95, 0.74, 0.30};
  s.albedo = MixColor(MixColor(mask, copper, trace), gold, pad);
  s.albedo = MixColor(s.albedo, Color{0.02, 0.03, 0.02}, hole);
  s.height = 0.5 * trace + 0.3 * pad - 0.8 * hole;
  s.gloss = 0.15 + 0.25 * trace + 0.9 * pad * (1.0 - hole);
  return s;
}

}  // namespace

Picture CircuitBoard() {
  Occupancy grid;
  const BoardLayers layers = StampTraces(LayOutTraces(grid));
  HeightField field(kSize, kSize);
  std::vector<BoardSample> samples;
  samples.reserve(static_cast<size_t>(kSize) * kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      samples.push_back(BoardAt(x, y, layers));
      field.At(x, y) = samples.back().height;
    }
  }
  Picture picture(kSize, kSize);
  Lighting light;
  light.relief = 2.5;
  light.ambient = 0.35;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const BoardSample& s = samples[Index(x, y, kSize)];
      picture.At(x, y) = ToRgb(ShadePixel(field, x, y, s.albedo, s.gloss, light));
    }
  }
  return picture;
}

}  // namespace kovrin::assets
