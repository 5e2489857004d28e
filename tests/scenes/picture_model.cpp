#include "tests/scenes/picture_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kovrin::test::scenes {

namespace {

double SegmentDistance(Point2 p, Point2 a, Point2 b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Even-odd crossing test; the quads here are convex or degenerate.
bool Contains(const Quad2& q, Point2 p) {
  bool inside = false;
  for (std::size_t i = 0, j = 3; i < 4; j = i++) {
    if ((q[i].y > p.y) != (q[j].y > p.y)) {
      const double xCross = q[j].x + (p.y - q[j].y) * (q[i].x - q[j].x) / (q[i].y - q[j].y);
      if (p.x < xCross) inside = !inside;
    }
  }
  return inside;
}

}  // namespace

Quad2 ToWindow(const Quad3& corners, const Placement& at, int width, int height) {
  const double radians = at.angleDegrees * std::numbers::pi / 180.0;
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  const double focal = 1.0 / std::tan(22.5 * std::numbers::pi / 180.0);
  const double aspect = static_cast<double>(width) / static_cast<double>(height);
  Quad2 out{};
  for (std::size_t i = 0; i < 4; ++i) {
    const Point3& v = corners[i];
    const double x = c * v.x - s * v.y + at.x;
    const double y = s * v.x + c * v.y + at.y;
    const double z = v.z + at.z;
    const double ndcX = focal / aspect * x / -z;
    const double ndcY = focal * y / -z;
    out[i] = Point2{(ndcX + 1.0) * 0.5 * width, (ndcY + 1.0) * 0.5 * height};
  }
  return out;
}

Coverage Cover(const Quad2& quad, Point2 p, double margin) {
  for (std::size_t i = 0, j = 3; i < 4; j = i++) {
    if (SegmentDistance(p, quad[j], quad[i]) < margin) return Coverage::Unsure;
  }
  return Contains(quad, p) ? Coverage::Inside : Coverage::Outside;
}

std::array<Quad3, 6> CubeFaces() {
  return {{
      {{{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}},
      {{{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}}},
      {{{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}}},
      {{{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}},
      {{{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}}},
      {{{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}}},
  }};
}

Quad3 FrontSquare() { return {{{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}}; }

}  // namespace kovrin::test::scenes
