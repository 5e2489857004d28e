// The overdraw test's three textures: two contrasting materials for the
// spinning grid cubes and a dark plating for the tunnel behind them.
#pragma once

#include "tools/assets/picture.h"

namespace kovrin::assets {

inline constexpr int kMaterialSize = 256;

// texture001: bevelled copper tiles alternating with verdigris brass vent plates.
Picture CopperTiles();
// texture002: a green circuit board with gold pads and black chips.
Picture CircuitBoard();
// texture003: dark steel plating with cyan light strips, for the tunnel.
Picture TunnelPlating();

}  // namespace kovrin::assets
