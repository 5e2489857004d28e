// The blending test's eight textures: soft, colourful light shapes on
// black. The scene adds up to five of them per pixel, so each keeps a
// moderate brightness and its own hue, and fades to black before its
// border so a square's edge never shows as a hard line.
#pragma once

#include "tools/assets/picture.h"

namespace kovrin::assets {

// colorview001 is also the opaque rotating background and fills the view,
// so it is larger; the others are seen smaller.
inline constexpr int kBackdropSize = 256;
inline constexpr int kGlowSize = 128;

Picture VioletPlasma();          // colorview001
Picture OrangeRings();           // colorview002
Picture CyanFlower();            // colorview003
Picture GreenSpiral();           // colorview004
IndexedPicture GoldStarburst();  // colorview005, one hue: a 256-step palette ramp
Picture MagentaBokeh();          // colorview006
Picture BlueAurora();            // colorview007
Picture RedNebula();             // colorview008

}  // namespace kovrin::assets
