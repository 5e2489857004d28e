// The settings file the launcher writes before each run.
#pragma once

#include <string>

namespace kovrin::launcher {

// The exact bytes of config.cfg for the run indices: the width line, the
// height line and the depth line, each ended by CR LF, nothing else.
std::string ConfigFileText(int resIndex, int depthIndex);

// The same lines for any size and depth, for runs beyond the default twelve.
std::string ConfigFileTextForMode(int width, int height, int depthBits);

}  // namespace kovrin::launcher
