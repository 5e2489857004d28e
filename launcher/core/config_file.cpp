#include "launcher/core/config_file.h"

#include "launcher/core/results_table.h"

namespace kovrin::launcher {

std::string ConfigFileText(int resIndex, int depthIndex) {
  return ConfigFileTextForMode(ResolutionWidth(resIndex), ResolutionHeight(resIndex), DepthBits(depthIndex));
}

std::string ConfigFileTextForMode(int width, int height, int depthBits) {
  const std::string crlf = "\r\n";
  return "GL_RESX=" + std::to_string(width) + ";" + crlf + "GL_RESY=" + std::to_string(height) + ";" + crlf +
         "GL_BITDEPTH=" + std::to_string(depthBits) + ";" + crlf;
}

}  // namespace kovrin::launcher
