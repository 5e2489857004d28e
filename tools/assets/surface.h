// Relief lighting for the overdraw textures: a height field, lit from the
// upper left, turns flat colour maps into bevels, grooves and domes.
#pragma once

#include <vector>

#include "tools/assets/picture.h"

namespace kovrin::assets {

// Heights per pixel, top row first; neighbours wrap around the edges so
// the lighting of a tiling picture tiles too.
struct HeightField {
  int width = 0;
  int height = 0;
  std::vector<double> h;

  HeightField(int w, int h);
  double& At(int x, int y);
  double At(int x, int y) const;  // wraps
};

struct Lighting {
  double ambient = 0.25;
  double diffuse = 0.85;
  double specular = 0.5;
  int shininess = 5;    // the highlight is (n.h)^(2^shininess)
  double relief = 1.0;  // how steep a height step of 1 per pixel looks
};

double Length(double x, double y);
// A rounded dome of the given radius: 1 at its centre, 0 from `radius` on.
double Dome(double distance, double radius);

// Lambert light times albedo plus a white highlight scaled by gloss.
Color ShadePixel(const HeightField& field, int x, int y, Color albedo, double gloss, const Lighting& light);

}  // namespace kovrin::assets
