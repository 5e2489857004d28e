// Where a quad lands on the screen under the programs' projection (vertical
// field of view 45 degrees, near plane 0), worked out on the CPU so that a
// test can say which face a pixel must show after a frame.
#pragma once

#include <array>

namespace kovrin::test::scenes {

struct Point3 {
  double x, y, z;
};
using Quad3 = std::array<Point3, 4>;  // corners in order around the face

// glTranslatef(x, y, z) followed by glRotatef(angle, 0, 0, 1).
struct Placement {
  double x, y, z;
  double angleDegrees;
};

struct Point2 {
  double x, y;  // window coordinates, origin at the lower left corner
};
using Quad2 = std::array<Point2, 4>;

Quad2 ToWindow(const Quad3& corners, const Placement& at, int width, int height);

enum class Coverage { Inside, Outside, Unsure };

// Whether the point lies inside the quad. Points closer than `margin` pixels
// to an edge are Unsure: edge pixels depend on the rasteriser's rules.
Coverage Cover(const Quad2& quad, Point2 p, double margin);

// The six faces of a cube of edge 2 around the origin.
std::array<Quad3, 6> CubeFaces();
// A square of edge 2 in the plane z = 1.
Quad3 FrontSquare();

}  // namespace kovrin::test::scenes
